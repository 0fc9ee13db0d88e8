// zarnok3d: a small 3D shooting game. Red cubes fall; shoot them before one escapes.
#include <cstdio>
#include <cstdlib>

#include "app/main_loop.h"
#include "app/options.h"
#include "platform/system.h"
#include "platform/window.h"
#include "store/folder_lock.h"

namespace {

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
    if (!open_platform())
        return 1;
    pace_frames(!options.uncapped);
    return entry_routine();
}
