// Reading the game's files: nothing but a regular file is opened, and none is read beyond the
// size a file of the game may have, so a FIFO, a device or an endless file is never waited on.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

constexpr const char* missing = "missing";
constexpr const char* too_large = "larger than 32 MB";
static_assert(largest_data_file == 32 << 20);

const char* kind_problem(const struct stat& info) {
    return !S_ISREG(info.st_mode)             ? "not a plain file"
           : info.st_size > largest_data_file ? too_large
                                              : nullptr;
}

// Null when the file was read whole; otherwise what is wrong with it.
const char* read_regular_file(const char* path, std::vector<uint8_t>* bytes) {
    struct stat info {};
    if (::stat(path, &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? missing : std::strerror(errno);
    if (const char* problem = kind_problem(info))
        return problem;
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    // Checked again on what was opened: the name may have changed hands in between.
    const char* problem = ::fstat(fd, &info) != 0 ? std::strerror(errno) : kind_problem(info);
    const size_t limit = static_cast<size_t>(largest_data_file);
    // One byte more than the file says it holds, to see its end.
    bytes->resize(problem == nullptr ? static_cast<size_t>(info.st_size) + 1 : 0);
    size_t count = 0;
    while (problem == nullptr) {
        if (count == bytes->size()) {
            if (count > limit) {
                problem = too_large; // it grew while being read
                break;
            }
            bytes->resize(std::min(2 * count, limit + 1));
        }
        const ssize_t n = ::read(fd, bytes->data() + count, bytes->size() - count);
        if (n < 0)
            problem = std::strerror(errno);
        if (n <= 0)
            break;
        count += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes->resize(count);
    return problem;
}

} // namespace

const char* installed_data_folder() {
    const char* given = std::getenv("ZARNOK_DATA_FOLDER");
    return given != nullptr && given[0] == '/' ? given : ZARNOK_INSTALLED_DATA;
}

bool read_data_file(const char* path, std::vector<uint8_t>* bytes, DataCheck check) {
    static std::set<std::string> said;
    const bool player_may_own = std::strchr(path, '/') == nullptr;
    const std::string places[] = {path, std::string(installed_data_folder()) + "/" + path};
    // Copied: the words of a problem may stand in a buffer that the next read writes over.
    std::string problems[2];
    int tried = 0, found = -1;
    for (; found < 0 && tried < (player_may_own ? 2 : 1); ++tried) {
        const char* problem = read_regular_file(places[tried].c_str(), bytes);
        if (problem == nullptr && check != nullptr)
            problem = check(*bytes);
        if (problem == nullptr)
            found = tried;
        else if (problem != missing)
            problems[tried] = problem;
    }
    for (int i = 0; i < tried; ++i)
        if (!problems[i].empty() && said.insert(places[i]).second)
            std::fprintf(stderr, "zarnok3d: %s cannot be used (%s); %s\n", places[i].c_str(),
                         problems[i].c_str(),
                         found > i ? "the installed one serves" : "it counts as missing");
    if (found < 0)
        bytes->clear();
    return found >= 0;
}

bool data_file_present(const char* name) {
    const std::string installed = std::string(installed_data_folder()) + "/" + name;
    return ::access(name, F_OK) == 0 || ::access(installed.c_str(), F_OK) == 0;
}
