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

// Says why path was not saved, once; or, where the caller says it itself, only hands it over.
void refuse(const std::string& path, const char* what, int error, int* unsaid) {
    if (unsaid != nullptr) {
        *unsaid = error;
        return;
    }
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
bool rewrite_in_place(const std::string& path, const void* bytes, size_t size, int* unsaid) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        refuse(path, "cannot be written", errno, unsaid);
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

// A regular file opened for reading without waiting, or -1 with what the reader is told.
int open_regular(const char* path, struct stat* info, FileRead* failure) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *failure = {errno == ENOENT ? FileState::missing : FileState::unreadable, 0, errno};
        return -1;
    }
    if (::fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {
        ::close(fd);
        *failure = {FileState::unreadable, 0, 0};
        return -1;
    }
    return fd;
}

// Reads up to size bytes, as many as the file holds.
FileRead read_and_close(int fd, void* buffer, size_t size) {
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
    struct stat info {};
    FileRead file{};
    const int fd = open_regular(path, &info, &file);
    if (fd >= 0)
        file = read_and_close(fd, buffer, size);
    return file;
}

FileRead read_whole_file(const char* path, size_t most, std::vector<uint8_t>* bytes) {
    struct stat info {};
    FileRead file{};
    const int fd = open_regular(path, &info, &file);
    if (fd < 0)
        return file;
    if (static_cast<uint64_t>(info.st_size) > most) {
        ::close(fd);
        return {FileState::unreadable, 0, EFBIG};
    }
    bytes->resize(static_cast<size_t>(info.st_size) + 1); // one more, to see it grow
    file = read_and_close(fd, bytes->data(), bytes->size());
    if (file.state == FileState::read && static_cast<size_t>(file.count) > most)
        file = {FileState::unreadable, 0, EFBIG};
    bytes->resize(file.state == FileState::read ? static_cast<size_t>(file.count) : 0);
    return file;
}

bool write_whole_file(const char* path, const void* bytes, size_t size, int* unsaid) {
    steps_done = 0;
    const std::string target = link_target(path);
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        refuse(target, "cannot be saved", 0, unsaid);
        return false;
    }
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        refuse(target, "may not be written", errno, unsaid);
        return false;
    }
    if (exists && old.st_nlink > 1)
        return rewrite_in_place(target, bytes, size, unsaid); // keeps every name of it
    std::string temporary;
    const int fd = create_temporary(target, &temporary);
    if (fd < 0) {
        if (exists)
            return rewrite_in_place(target, bytes, size, unsaid);
        refuse(target, "cannot be created", errno, unsaid);
        return false;
    }
    mode_t mode = old.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (const int error = fill_and_rename(fd, temporary, target, bytes, size, mode); error != 0) {
        refuse(target, "could not be saved", error, unsaid);
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
