// zarnok3d: a small 3D shooting game. Red cubes fall; shoot them before one escapes.
#include <cstdlib>
#include <string>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/readable_text.h"
#include "app/replay_watch.h"
#include "platform/data_file_names.h"
#include "platform/system.h"
#include "platform/window.h"
#include "store/data_file.h"
#include "store/folder_lock.h"
#include "store/launch.h"
#include "store/replay_file.h"
#include "store/say.h"
#include "store/whole_file.h"

namespace {

// Started where none of the game's files are, it plays over black and in silence; says why.
void say_where_the_files_are_missing() {
    for (const DataFileName& file : data_file_names)
        if (data_file_present(file.name))
            return;
    say("none of the game's pictures, sounds and music are in %s or in %s; it plays without "
        "them.",
        current_folder().c_str(), installed_data_folder());
}

// Said where a player sees it, whether started from a terminal or from the desktop.
int refuse(const char* text) {
    say("%s", text);
    message_box(readable(text).c_str(), "Zarnok 3D");
    return 1;
}

// A recorded game played back in the windows; it saves nothing, so it takes no folder.
int watch(const Options& options) {
    Replay replay;
    std::string why;
    if (!read_replay_file(options.replay, &replay, &why)) {
        say("%s cannot be watched: %s", options.replay, why.c_str());
        return 2;
    }
    say_where_the_files_are_missing();
    if (!open_platform())
        return 1;
    // The record keeps the game's time; played fast, a glimpse now and then shows it.
    pace_frames(options.fast ? FramePacing::now_and_then : FramePacing::every_frame);
    arrange_windows(options.windows);
    choose_renderer(options.renderer);
    return watch_replay(replay, options.fast);
}

} // namespace

int main(int argc, char** argv) {
    take_command_line(&argc, &argv);
    // The end-to-end tests cut the game's saves short there, as a kill or a power cut would.
    if (const char* step = std::getenv("ZARNOK_END_AT_SAVE_STEP"))
        end_process_at_save_step(std::atoi(step));
    Options options{};
    if (const int status = read_options(argc, argv, &options); status >= 0)
        return status;
    if (std::string problem; !enter_player_folder(&options.replay, &problem))
        return refuse(problem.c_str());
    if (options.replay != nullptr)
        return watch(options);
    if (!claim_folder())
        return refuse("Zarnok 3D is already running in this folder.");
    say_where_the_files_are_missing();
    if (!open_platform())
        return 1;
    pace_frames(options.uncapped ? FramePacing::every_frame : FramePacing::refresh);
    arrange_windows(options.windows);
    choose_renderer(options.renderer);
    return entry_routine();
}
