// Starting on Linux: the launcher has made and entered the player's folder, and tells where the
// game's files are installed.
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "store/launch.h"

void take_command_line(int*, char***) {
    // Output to a closed pipe or terminal is lost, and a file that cannot grow past a limit is
    // not saved (said, as when the disk is full): neither must end the game.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool enter_player_folder(const char**, std::string* problem) {
    // The launcher could not set up the player's folder; it tells why through the game.
    if (const char* launch_problem = std::getenv("ZARNOK_LAUNCH_PROBLEM")) {
        *problem = launch_problem;
        return false;
    }
    return true;
}

const char* installed_data_folder() {
    // Set by the launcher to where it was installed; otherwise the folder fixed at the build.
    const char* given = std::getenv("ZARNOK_DATA_FOLDER");
    return given != nullptr && given[0] == '/' ? given : ZARNOK_INSTALLED_DATA;
}

std::string current_folder() {
    char folder[4096];
    return getcwd(folder, sizeof folder) != nullptr ? folder : "the current folder";
}
