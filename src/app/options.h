// The command line.
#pragma once

#include "platform/window.h"

struct Options {
    bool uncapped; // frames as fast as they can be drawn, not paced to the display
    WindowArrangement windows;
    RendererChoice renderer;
    const char* replay; // a recorded game to watch, or null to play
    bool fast;          // the replay as fast as it goes, timed
};

// Reads the arguments. After --help or --version (said on stdout) or an unknown option (an
// error with the usage on stderr) the program ends with the status given; -1 means play.
int read_options(int argc, char** argv, Options* options);
