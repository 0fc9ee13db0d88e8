// The game's file calls on Windows: paths in UTF-16 at every call, files shared with whoever
// reads them, a file replaced by another in one move that reaches the disk before it returns.
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "store/system_files.h"
#include "store/windows_text.h"

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE handle_of(SystemFile file) {
    return reinterpret_cast<HANDLE>(file);
}

SystemFile file_of(HANDLE handle, int* error) {
    if (handle == INVALID_HANDLE_VALUE) {
        *error = errno_of(GetLastError());
        return no_file;
    }
    return reinterpret_cast<SystemFile>(handle);
}

int error_of(BOOL succeeded) {
    return succeeded ? 0 : errno_of(GetLastError());
}

bool plain(DWORD attributes) {
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// The names the file has; 1 when the system cannot tell.
uint32_t link_count(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), 0, share_all, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    const bool told =
        file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information) != 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return told && information.nNumberOfLinks > 0 ? information.nNumberOfLinks : 1;
}

// 0 when the player may write the file: neither marked read-only nor refused by its rights.
int write_refusal(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return EACCES;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, share_all, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Another program holding it open is no refusal of the player's.
        return error == ERROR_SHARING_VIOLATION ? 0 : errno_of(error);
    }
    CloseHandle(file);
    return 0;
}

// A suffix for a temporary name, different at each call and in each process.
std::string unique_suffix() {
    static unsigned attempt = 0;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    unsigned long long seed = static_cast<unsigned long long>(now.QuadPart) * 2654435761u ^
                              GetCurrentProcessId() * 40503u ^ ++attempt * 2246822519u;
    char suffix[8] = "-";
    for (int i = 1; i < 7; ++i, seed /= 36)
        suffix[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[seed % 36];
    return suffix;
}

} // namespace

PathFacts path_facts(const std::string& path) {
    const std::wstring wide = utf16(path);
    PathFacts facts{};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.exists = true;
    facts.regular = plain(data.dwFileAttributes);
    facts.write_error = facts.regular ? write_refusal(wide, data.dwFileAttributes) : 0;
    facts.writable = facts.regular && facts.write_error == 0;
    facts.links = facts.regular ? link_count(wide) : 1;
    return facts;
}

std::string link_target(const std::string& path) {
    return path;
}

SystemFile open_regular(const std::string& path, int64_t* size, int* error) {
    const std::wstring wide = utf16(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (wide.empty() || attributes == INVALID_FILE_ATTRIBUTES) {
        *error = wide.empty() ? ENOENT : errno_of(GetLastError());
        return no_file;
    }
    if (!plain(attributes)) {
        *error = 0;
        return no_file;
    }
    const SystemFile file = file_of(CreateFileW(wide.c_str(), GENERIC_READ, share_all, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                                    error);
    LARGE_INTEGER length{};
    if (file != no_file && (GetFileType(handle_of(file)) != FILE_TYPE_DISK ||
                            !GetFileSizeEx(handle_of(file), &length))) {
        CloseHandle(handle_of(file));
        *error = 0;
        return no_file;
    }
    *size = length.QuadPart;
    return file;
}

int64_t read_some(SystemFile file, void* buffer, size_t size, int* error) {
    DWORD count = 0;
    const DWORD asked = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!ReadFile(handle_of(file), buffer, asked, &count, nullptr)) {
        *error = errno_of(GetLastError());
        return -1;
    }
    return count;
}

SystemFile open_to_rewrite(const std::string& path, int* error) {
    return file_of(CreateFileW(utf16(path).c_str(), GENERIC_WRITE, share_all, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                   error);
}

SystemFile create_file(std::string* name, bool unique, uint32_t, int* error) {
    const std::string base = *name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (unique)
            *name = base + unique_suffix();
        const SystemFile file = file_of(CreateFileW(utf16(*name).c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr),
                                        error);
        if (file != no_file || !unique || *error != EEXIST)
            return file;
    }
    return no_file;
}

int64_t write_some(SystemFile file, const void* bytes, size_t size, int* error) {
    DWORD count = 0;
    const DWORD asked = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!WriteFile(handle_of(file), bytes, asked, &count, nullptr)) {
        *error = errno_of(GetLastError());
        return -1;
    }
    return count;
}

int set_length(SystemFile file, int64_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = length;
    return error_of(SetFilePointerEx(handle_of(file), at, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(handle_of(file)));
}

int sync_file(SystemFile file) {
    return error_of(FlushFileBuffers(handle_of(file)));
}

int close_file(SystemFile file) {
    return error_of(CloseHandle(handle_of(file)));
}

int replace_file(const std::string& from, const std::string& to) {
    return error_of(MoveFileExW(utf16(from).c_str(), utf16(to).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

int remove_file(const std::string& path) {
    return error_of(DeleteFileW(utf16(path).c_str()));
}

void sync_folder_of(const std::string&) {
    // The move itself went through to the disk.
}

uint32_t new_file_mode() {
    return 0;
}

bool is_out_of_room(int error) {
    return error == ENOSPC; // a full disk and a full quota alike
}
