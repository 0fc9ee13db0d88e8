// The folder is locked as a whole (flock on the folder itself), so no file is made for it and
// the lock goes with the process, however it ends. A folder the player may search and write but
// not list cannot be opened for the lock: a lock file stands in for it there; in one that takes
// no new file, saves rewrite the files in place, so the existing scores.dat or config.dat does.
#include "store/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "store/file_names.h"
#include "store/kept_replays.h"
#include "store/say.h"
#include "store/whole_file.h"

namespace {

enum class Claim { held, taken, open_failed, no_lock };

int lock_error; // why flock refused, for no_lock

Claim lock(int fd) {
    struct stat info {};
    if (fd < 0)
        return Claim::open_failed;
    if (::fstat(fd, &info) != 0 || !(S_ISDIR(info.st_mode) || S_ISREG(info.st_mode))) {
        ::close(fd);
        return Claim::open_failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Claim::held; // through the open descriptor, until the process ends
    const bool taken = errno == EWOULDBLOCK;
    lock_error = errno;
    ::close(fd);
    return taken ? Claim::taken : Claim::no_lock;
}

// A file opened for the lock alone: for reading when it may be read, else for writing.
int open_for_lock(const char* path, int flags) {
    const int fd = ::open(path, O_RDONLY | flags, 0600);
    return fd >= 0 || errno != EACCES ? fd : ::open(path, O_WRONLY | flags, 0600);
}

Claim claim() {
    const int nothing_followed = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Claim claim = lock(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (claim == Claim::open_failed)
        claim = lock(open_for_lock(".zarnok3d.lock", O_CREAT | nothing_followed));
    for (const char* file : {scores_file, config_file})
        if (claim == Claim::open_failed)
            claim = lock(open_for_lock(file, nothing_followed));
    return claim;
}

} // namespace

bool claim_folder() {
    const Claim claimed = claim();
    if (claimed == Claim::held) {
        sole_saver = true;
        remove_interrupted_saves(false);
    }
    // Where the filesystem has no locks (ENOLCK), the game plays on unguarded, and what saves cut
    // short left a while ago is cleaned up all the same.
    if (claimed == Claim::no_lock) {
        say("this folder cannot be locked (%s); a second copy of the game started in it would "
            "not be stopped",
            std::strerror(lock_error));
        remove_interrupted_saves(true);
    }
    return claimed != Claim::taken;
}
