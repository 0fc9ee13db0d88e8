// The lines the game says, to the standard error and the log.
#include "store/say.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

std::string log_path;

} // namespace

void say(const char* format, ...) {
    char line[1024];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "zarnok3d: %s\n", line);
    std::fflush(stderr);
    if (log_path.empty())
        return;
    // Opened for each line, so that a line said is on the disk whatever ends the game next.
    if (std::FILE* log = std::fopen(log_path.c_str(), "a")) {
        std::fprintf(log, "zarnok3d: %s\n", line);
        std::fclose(log);
    }
}

void keep_log(const char* path) {
    log_path = path;
}
