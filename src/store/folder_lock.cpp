// The folder is locked as a whole (flock on the folder itself), so no file is made for it and
// the lock goes with the process, however it ends.
#include "store/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

bool claim_folder() {
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return true;
    if (::flock(folder, LOCK_EX | LOCK_NB) == 0)
        return true; // held, through the open descriptor, until the process ends
    const bool taken = errno == EWOULDBLOCK;
    ::close(folder);
    return !taken;
}
