// The game's file calls on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "store/system_files.h"

namespace {

int fd_of(SystemFile file) {
    return static_cast<int>(file);
}

int error_of(bool failed) {
    return failed ? errno : 0;
}

} // namespace

PathFacts path_facts(const std::string& path) {
    struct stat info {};
    PathFacts facts{};
    if (::lstat(path.c_str(), &info) != 0)
        return facts;
    facts.exists = true;
    facts.regular = S_ISREG(info.st_mode);
    facts.writable = ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
    facts.write_error = facts.writable ? 0 : errno;
    facts.links = static_cast<uint32_t>(info.st_nlink);
    facts.mode = info.st_mode & 07777;
    return facts;
}

std::string link_target(const std::string& given) {
    std::string path = given;
    char target[PATH_MAX];
    for (int depth = 0; depth < 40; ++depth) {
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            break;
        target[n] = '\0';
        const size_t slash = path.rfind('/');
        path = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                              : path.substr(0, slash + 1) + target;
    }
    return path;
}

SystemFile open_regular(const std::string& path, int64_t* size, int* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return no_file;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = 0;
        ::close(fd);
        return no_file;
    }
    *size = info.st_size;
    return fd;
}

int64_t read_some(SystemFile file, void* buffer, size_t size, int* error) {
    const ssize_t n = ::read(fd_of(file), buffer, size);
    if (n < 0)
        *error = errno;
    return n;
}

SystemFile open_to_rewrite(const std::string& path, int* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        *error = errno;
    return fd;
}

SystemFile create_file(std::string* name, bool unique, uint32_t mode, int* error) {
    int fd = -1;
    if (unique) {
        *name += "-XXXXXX";
        fd = ::mkostemp(name->data(), O_CLOEXEC);
    } else {
        fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    // The mode is given after the file is made, where no umask takes bits from it.
    if (fd >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        *error = errno;
        ::close(fd);
        ::unlink(name->c_str());
        return no_file;
    }
    if (fd < 0)
        *error = errno;
    return fd;
}

int64_t write_some(SystemFile file, const void* bytes, size_t size, int* error) {
    const ssize_t n = ::write(fd_of(file), bytes, size);
    if (n < 0)
        *error = errno;
    return n;
}

int set_length(SystemFile file, int64_t length) {
    return error_of(::ftruncate(fd_of(file), static_cast<off_t>(length)) != 0);
}

int sync_file(SystemFile file) {
    return error_of(::fsync(fd_of(file)) != 0);
}

int close_file(SystemFile file) {
    return error_of(::close(fd_of(file)) != 0);
}

int replace_file(const std::string& from, const std::string& to) {
    return error_of(std::rename(from.c_str(), to.c_str()) != 0);
}

int remove_file(const std::string& path) {
    return error_of(::unlink(path.c_str()) != 0);
}

void sync_folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

uint32_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool is_out_of_room(int error) {
    return error == ENOSPC || error == EDQUOT;
}
