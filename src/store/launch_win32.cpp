// Starting on Windows, where no launcher stands before the game: it reads its command line in
// UTF-16, answers in the console it was started from, if any, and makes and enters the player's
// folder, %APPDATA%\zarnok3d, itself; its own files are installed beside the program.
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "store/launch.h"
#include "store/say.h"
#include "store/system_files.h"
#include "store/windows_text.h"

namespace {

constexpr int64_t largest_log = 1 << 20; // a log grown larger starts again

std::vector<std::string> arguments;
std::vector<char*> argument_pointers;
std::string replay_path;

// A game started from a console answers there, as it would on Linux; one started from the
// desktop has no console, and its lines go to the log alone.
void answer_in_the_console() {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE)
        return; // already going somewhere: a file, a pipe, a console
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8);
}

std::string full_path(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? utf8(full) : utf8(path.c_str());
}

// The roaming application data folder: %APPDATA%, else where the system keeps it.
std::wstring application_data() {
    if (const wchar_t* given = _wgetenv(L"APPDATA"); given != nullptr && given[0] != L'\0')
        return given;
    wchar_t* known = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK)
        folder = known;
    CoTaskMemFree(known);
    return folder;
}

// Where this program lies.
std::string program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/"));
    return utf8(path.c_str());
}

// The log kept beside the player's files: started again once it has grown large.
void start_log() {
    int64_t size = 0;
    int error = 0;
    const SystemFile log = open_regular("zarnok3d.log", &size, &error);
    if (log != no_file) {
        close_file(log);
        if (size > largest_log)
            remove_file("zarnok3d.log");
    }
    keep_log("zarnok3d.log");
}

} // namespace

void take_command_line(int* argc, char*** argv) {
    answer_in_the_console();
    int count = 0;
    wchar_t** given = CommandLineToArgvW(GetCommandLineW(), &count);
    if (given == nullptr)
        return;
    arguments.clear();
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8(given[i]));
    LocalFree(given);
    argument_pointers.clear();
    for (std::string& argument : arguments)
        argument_pointers.push_back(argument.data());
    argument_pointers.push_back(nullptr);
    *argc = count;
    *argv = argument_pointers.data();
}

bool enter_player_folder(const char** replay, std::string* problem) {
    // A replay named from where the player stands is found there; a name alone, such as
    // rank1.zrp, among the game's own.
    if (*replay != nullptr && path_facts(*replay).exists) {
        replay_path = full_path(utf16(*replay));
        *replay = replay_path.c_str();
    }
    const std::wstring data = application_data();
    if (data.empty()) {
        *problem = "Cannot find your data folder: APPDATA is not set.";
        return false;
    }
    const std::wstring folder = data + L"\\zarnok3d";
    if (const int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
        *problem = "Cannot make the folder " + utf8(folder.c_str()) + " (" +
                   std::strerror(errno_of(static_cast<unsigned long>(made))) + ").";
        return false;
    }
    if (!SetCurrentDirectoryW(folder.c_str())) {
        *problem = "Cannot enter the folder " + utf8(folder.c_str()) + ".";
        return false;
    }
    start_log();
    return true;
}

const char* installed_data_folder() {
    // Given by whoever starts the game (an absolute path), else beside the program.
    static const std::string folder = [] {
        const wchar_t* given = _wgetenv(L"ZARNOK_DATA_FOLDER");
        const bool absolute = given != nullptr && ((given[0] != L'\0' && given[1] == L':') ||
                                                   (given[0] == L'\\' && given[1] == L'\\'));
        return absolute ? utf8(given) : program_folder();
    }();
    return folder.c_str();
}

std::string current_folder() {
    wchar_t folder[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    return length > 0 && length < MAX_PATH * 4 ? utf8(folder) : "the current folder";
}
