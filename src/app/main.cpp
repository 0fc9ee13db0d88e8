// zarnok3d: a small 3D shooting game. Red cubes fall; shoot them before one escapes.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/replay_watch.h"
#include "platform/data_file.h"
#include "platform/data_file_names.h"
#include "platform/system.h"
#include "platform/window.h"
#include "store/folder_lock.h"
#include "store/replay_file.h"

namespace {

// Started where none of the game's files are, it plays over black and in silence; says why.
void say_where_the_files_are_missing() {
    for (const DataFileName& file : data_file_names)
        if (data_file_present(file.name))
            return;
    char folder[4096] = "the current folder";
    if (getcwd(folder, sizeof folder) == nullptr)
        std::strcpy(folder, "the current folder");
    std::fprintf(stderr,
                 "zarnok3d: none of the game's pictures, sounds and music are in %s or in %s; it "
                 "plays without them.\n",
                 folder, installed_data_folder());
}

// A text as a message box shows it readably: lines of at most 72 bytes, broken at spaces where
// there are some and never inside a character, and no more than 12 of them, the last ending in
// "..." when the text goes on.
std::string readable(std::string rest) {
    constexpr size_t width = 72, most_lines = 12;
    std::string shown;
    for (size_t line = 1; !rest.empty(); ++line) {
        const bool cut = line == most_lines && rest.size() > width; // "..." takes three
        const size_t room = cut ? width - 3 : width;
        size_t end = std::min(rest.find('\n'), rest.size());
        if (end > room) {
            end = rest.find_last_of(' ', room);
            for (end = end == std::string::npos || end == 0 ? room : end;
                 end > 1 && (rest[end] & 0xC0) == 0x80;)
                --end; // not inside a character of several bytes
        }
        if (line == most_lines && end < rest.size())
            return shown + rest.substr(0, end) + "...";
        shown += rest.substr(0, end);
        rest.erase(0, end < rest.size() && (rest[end] == ' ' || rest[end] == '\n') ? end + 1 : end);
        if (!rest.empty())
            shown += '\n';
    }
    return shown;
}

// Said where a player sees it, whether started from a terminal or from the desktop.
int refuse(const char* text) {
    std::fprintf(stderr, "zarnok3d: %s\n", text);
    message_box(readable(text).c_str(), "Zarnok 3D");
    return 1;
}

// A recorded game played back in the windows; it saves nothing, so it takes no folder.
int watch(const Options& options) {
    Replay replay;
    std::string why;
    if (!read_replay_file(options.replay, &replay, &why)) {
        std::fprintf(stderr, "zarnok3d: %s cannot be watched: %s\n", options.replay, why.c_str());
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
    // Output to a closed pipe or terminal is lost; it must not end the game.
    std::signal(SIGPIPE, SIG_IGN);
    Options options{};
    if (const int status = read_options(argc, argv, &options); status >= 0)
        return status;
    if (options.replay != nullptr)
        return watch(options);
    // The launcher could not set up the player's folder; it tells why through the game.
    if (const char* problem = std::getenv("ZARNOK_LAUNCH_PROBLEM"))
        return refuse(problem);
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
