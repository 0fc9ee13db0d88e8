// Small-file input and output on POSIX.
#include "store/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

bool sole_saver = false;
void (*after_save_step)(int step) = nullptr;

namespace {

int steps_done = 0; // in the save under way

// Between two system calls of a save that change what is on disk.
void step_done() {
    ++steps_done;
    if (after_save_step != nullptr)
        after_save_step(steps_done);
}

// A short write is a failed one: the caller then keeps the old file.
bool write_all(int fd, const void* bytes, size_t size) {
    const auto* data = static_cast<const char*>(bytes);
    for (size_t written = 0; written < size;) {
        step_done();
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n <= 0) {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

void say_once(const std::string& path, const char* what, int error) {
    static std::set<std::string> said;
    if (said.insert(std::filesystem::absolute(path)).second)
        std::fprintf(stderr, "zarnok3d: %s %s (%s); it is left as it is\n", path.c_str(), what,
                     describe_error(error));
}

// The file a chain of symbolic links ends at, which need not exist yet.
std::string link_target(std::string path) {
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

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The new bytes go over the old ones, and only then is the length set: the file never passes
// through an empty or short state, and what the game reads of it is the old table or the new.
bool rewrite_in_place(const std::string& path, const void* bytes, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        say_once(path, "cannot be written", errno);
        return false;
    }
    step_done();
    bool saved = write_all(fd, bytes, size);
    step_done();
    saved = saved && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    step_done();
    saved = saved && ::fsync(fd) == 0;
    return ::close(fd) == 0 && saved;
}

// Only in the folder it holds does this copy save through one fixed temporary name per file.
bool fixed_temporary(const std::string& target, std::string* name) {
    *name = target + ".saving";
    return sole_saver && target.find('/') == std::string::npos;
}

// A new file beside target, created exclusively, never through a link. In the folder this copy
// alone saves in, the fixed name is free or a leftover of a save cut short, which may go; a
// link or a folder of that name stays, and a unique name serves instead.
int create_temporary(const std::string& target, std::string* name) {
    if (fixed_temporary(target, name)) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int fd =
                ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0 || errno != EEXIST)
                return fd;
            remove_interrupted_save(target.c_str());
        }
    }
    *name = target + ".saving-XXXXXX";
    return ::mkostemp(name->data(), O_CLOEXEC);
}

// Gives the temporary file its mode and the bytes, and renames it over target: the errno of the
// step that failed, or 0.
int fill_and_rename(int fd, const std::string& temporary, const std::string& target,
                    const void* bytes, size_t size, mode_t mode) {
    step_done();
    int error = ::fchmod(fd, mode) == 0 && write_all(fd, bytes, size) ? 0 : errno;
    step_done();
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    step_done();
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    step_done();
    return error;
}

} // namespace

const char* describe_error(int error) {
    return error == 0 ? "not a plain file" : std::strerror(error);
}

void say_kept(const char* path, int error, const char* not_saved) {
    std::fprintf(stderr,
                 "zarnok3d: %s cannot be read (%s); it is left as it is, and this game's %s are "
                 "not saved\n",
                 path, describe_error(error), not_saved);
}

FileRead read_file_start(const char* path, void* buffer, size_t size) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT ? FileState::missing : FileState::unreadable, 0, errno};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {FileState::unreadable, 0, 0};
    }
    size_t count = 0;
    while (count < size) {
        const ssize_t n = ::read(fd, static_cast<char*>(buffer) + count, size - count);
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return {FileState::unreadable, 0, error};
        }
        if (n == 0)
            break;
        count += static_cast<size_t>(n);
    }
    ::close(fd);
    return {FileState::read, static_cast<int64_t>(count), 0};
}

bool write_whole_file(const char* path, const void* bytes, size_t size) {
    steps_done = 0;
    const std::string target = link_target(path);
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        say_once(target, "cannot be saved", 0);
        return false;
    }
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        say_once(target, "may not be written", errno);
        return false;
    }
    if (exists && old.st_nlink > 1)
        return rewrite_in_place(target, bytes, size); // keeps every name of it
    std::string temporary;
    const int fd = create_temporary(target, &temporary);
    if (fd < 0) {
        if (exists)
            return rewrite_in_place(target, bytes, size);
        say_once(target, "cannot be created", errno);
        return false;
    }
    mode_t mode = old.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (const int error = fill_and_rename(fd, temporary, target, bytes, size, mode); error != 0) {
        say_once(target, "could not be saved", error);
        ::unlink(temporary.c_str());
        return false;
    }
    const int folder = ::open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void remove_interrupted_save(const char* path) {
    std::string temporary;
    struct stat info {};
    if (fixed_temporary(link_target(path), &temporary) && ::lstat(temporary.c_str(), &info) == 0 &&
        S_ISREG(info.st_mode))
        ::unlink(temporary.c_str());
}
