// Text and errors between Windows and the game.
#include <windows.h>

#include <cerrno>
#include <utility>

#include "store/windows_text.h"

std::wstring utf16(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int count =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    if (count <= 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size,
                                          wide.data(), count) != count)
        return {};
    return wide;
}

std::string utf8(const wchar_t* text) {
    const int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (count <= 1)
        return {};
    std::string narrow(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), count, nullptr, nullptr);
    narrow.pop_back(); // the terminating zero
    return narrow;
}

int errno_of(unsigned long windows_error) {
    constexpr std::pair<unsigned long, int> errors[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_INVALID_NAME, ENOENT},
        {ERROR_INVALID_DRIVE, ENOENT},
        {ERROR_BAD_NETPATH, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EACCES},
        {ERROR_LOCK_VIOLATION, EACCES},
        {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST},
        {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_DIRECTORY, ENOTDIR},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
        {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_OUTOFMEMORY, ENOMEM},
        {ERROR_INVALID_HANDLE, EBADF},
        {ERROR_NOT_SUPPORTED, ENOSYS},
        {ERROR_CALL_NOT_IMPLEMENTED, ENOSYS},
        {ERROR_FILE_TOO_LARGE, EFBIG},
        {ERROR_NO_UNICODE_TRANSLATION, EILSEQ},
    };
    for (const auto& [windows, error] : errors)
        if (windows == windows_error)
            return error;
    return EIO;
}
