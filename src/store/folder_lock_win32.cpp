// One copy of the game per folder on Windows: a lock file in the folder, held open and locked
// for as long as the game runs; Windows lets the lock go however the process ends.
#include <windows.h>

#include "store/file_names.h"
#include "store/folder_lock.h"
#include "store/kept_replays.h"
#include "store/say.h"
#include "store/whole_file.h"
#include "store/windows_text.h"

#include <cstring>

bool claim_folder() {
    const HANDLE lock_file = CreateFileW(L".zarnok3d.lock", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    // A folder that takes no new file and has none of that name: the game runs without a lock.
    if (lock_file == INVALID_HANDLE_VALUE)
        return true;
    OVERLAPPED at{};
    if (LockFileEx(lock_file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        // The handle stays open, and the lock with it, until the process ends.
        sole_saver = true;
        remove_interrupted_saves(false);
        return true;
    }
    const DWORD error = GetLastError();
    CloseHandle(lock_file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        return false;
    say("this folder cannot be locked (%s); a second copy of the game started in it would not be "
        "stopped",
        std::strerror(errno_of(error)));
    remove_interrupted_saves(true);
    return true;
}
