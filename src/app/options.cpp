// --help, --version, --uncapped, the choice of windows and of the way frames reach the screen;
// anything else is an error.
#include "app/options.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "app/key_list.h"
#include "platform/data_file_names.h"
#include "store/say.h"

namespace {

constexpr const char* usage =
    "Usage: zarnok3d [--uncapped] [--one-window | --two-windows] [--renderer=gpu|surface]\n"
    "                [--replay FILE [--fast]] [--help] [--version]\n";

constexpr const char* help =
    "Zarnok 3D: shoot the red cubes before one of them gets away.\n\n"
    "  --uncapped     draw frames as fast as possible instead of once per display refresh\n"
    "  --one-window   show the gun view inside the game's window, at the left of the field\n"
    "  --two-windows  show the gun view in a small window of its own beside the game's\n"
    "                 (by default two windows where the desktop lets the game place them,\n"
    "                 one window elsewhere, as on Wayland)\n"
    "  --renderer=gpu      show frames through the graphics card, even a software one\n"
    "  --renderer=surface  copy frames into the windows, as without a graphics card\n"
    "                      (by default the card where it has a driver of its own)\n"
    "  --replay FILE  watch a recorded game: last.zrp is the game played last, rank1.zrp to\n"
    "                 rank5.zrp the games of the hi-score table's rows; P pauses, F11, the\n"
    "                 volume keys and F12 work, and nothing is saved\n"
    "  --fast         with --replay, play it as fast as it goes, silently, and print how\n"
    "                 long it took: points, level, hits, shots, frames, seconds, frames a second\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n\n"
    "Keys:\n";
constexpr const char* gamepad_and_files =
    "\nGamepad: either stick aims; A or the right trigger fires; Start pauses, and after a\n"
    "game over starts a new game; Back shows the help, again the hi-scores, again the about\n"
    "page, and B returns; Y new game; shoulder buttons effects softer/louder; D-pad up/down\n"
    "music louder/softer. Typing a name, the D-pad up and down choose a letter from A on,\n"
    "right moves on, left takes one back, and A or Start saves it (not A in the first second;\n"
    "an empty name by holding Start a second). A pad pulled out in play pauses.\n\n"
    "Files: the game runs in the current folder and keeps the hi-scores in scores.dat, the\n"
    "volumes in config.dat and the replays (*.zrp) there. It reads these from that folder\n"
    "when they are there, else where they were installed:\n";

constexpr const char* launcher =
    "The installed zarnok3d launcher runs it in $XDG_DATA_HOME/zarnok3d (by default\n"
    "~/.local/share/zarnok3d).\n";

void print_data_files() {
    const std::pair<DataKind, const char*> kinds[] = {
        {DataKind::picture, "pictures"}, {DataKind::sample, "sounds"}, {DataKind::module, "music"}};
    for (const auto& [kind, title] : kinds) {
        std::printf("  %s:", title);
        const char* comma = "";
        for (const DataFileName& file : data_file_names)
            if (file.kind == kind) {
                std::printf("%s %s", comma, file.name);
                comma = ",";
            }
        std::putchar('\n');
    }
}

} // namespace

int read_options(int argc, char** argv, Options* options) {
    *options = {};
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
            std::fputs(usage, stdout);
            std::fputs(help, stdout);
            std::fputs(key_list, stdout);
            std::fputs(gamepad_and_files, stdout);
            print_data_files();
            std::fputs(launcher, stdout);
            return 0;
        }
        if (std::strcmp(option, "--version") == 0) {
            std::puts("zarnok3d " ZARNOK_VERSION);
            return 0;
        }
        if (std::strcmp(option, "--uncapped") == 0) {
            options->uncapped = true;
            continue;
        }
        if (std::strcmp(option, "--one-window") == 0 || std::strcmp(option, "--two-windows") == 0) {
            options->windows =
                option[2] == 'o' ? WindowArrangement::one_window : WindowArrangement::two_windows;
            continue;
        }
        if (std::strcmp(option, "--replay") == 0 && i + 1 < argc) {
            options->replay = argv[++i];
            continue;
        }
        if (std::strcmp(option, "--fast") == 0) {
            options->fast = true;
            continue;
        }
        if (std::strcmp(option, "--renderer=gpu") == 0 ||
            std::strcmp(option, "--renderer=surface") == 0) {
            options->renderer = option[11] == 'g' ? RendererChoice::gpu : RendererChoice::surface;
            continue;
        }
        say("unknown option %s", option);
        std::fputs(usage, stderr);
        return 2;
    }
    if (options->fast && options->replay == nullptr) {
        say("--fast plays a replay: give it --replay FILE");
        std::fputs(usage, stderr);
        return 2;
    }
    return -1;
}
