// zarnok3d: a small 3D shooting game. Red cubes fall; shoot them before one escapes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/main_loop.h"
#include "app/options.h"
#include "platform/system.h"
#include "platform/window.h"
#include "store/folder_lock.h"

namespace {

// Started where none of the game's files are, it plays over black and in silence; says why.
void say_where_the_files_are_missing() {
    for (const char* file : {"bg.bmp", "f1bg.bmp", "hiscbg.bmp", "nfobg.bmp", "gun.wav",
                             "explode.wav", "yeah.wav", "supera29.xm"})
        if (access(file, F_OK) == 0)
            return;
    char folder[4096] = "the current folder";
    if (getcwd(folder, sizeof folder) == nullptr)
        std::strcpy(folder, "the current folder");
    std::fprintf(stderr,
                 "zarnok3d: none of the game's pictures, sounds and music are in %s; it plays "
                 "without them. The installed zarnok3d launcher sets up a folder with them.\n",
                 folder);
}

// Said where a player sees it, whether started from a terminal or from the desktop.
int refuse(const char* text) {
    std::fprintf(stderr, "zarnok3d: %s\n", text);
    message_box(text, "Zarnok 3D");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options{};
    if (const int status = read_options(argc, argv, &options); status >= 0)
        return status;
    // The launcher could not set up the player's folder; it tells why through the game.
    if (const char* problem = std::getenv("ZARNOK_LAUNCH_PROBLEM"))
        return refuse(problem);
    if (!claim_folder())
        return refuse("Zarnok 3D is already running in this folder.");
    say_where_the_files_are_missing();
    if (!open_platform())
        return 1;
    pace_frames(!options.uncapped);
    arrange_windows(options.windows);
    return entry_routine();
}
