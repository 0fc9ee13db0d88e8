// Small-file input and output on POSIX.
#include "store/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

int64_t read_file_start(const char* path, void* buffer, size_t size) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return -1;
    const size_t count = std::fread(buffer, 1, size, file);
    std::fclose(file);
    return static_cast<int64_t>(count);
}

bool write_whole_file(const char* path, const void* bytes, size_t size) {
    const std::string temporary = std::string(path) + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const auto* data = static_cast<const char*>(bytes);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const bool complete = written == size && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !complete || std::rename(temporary.c_str(), path) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
