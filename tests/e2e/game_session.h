// One running game for one test: its own X server, working directory and zarnok3d process,
// with the two windows found and the main one focused.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/child_process.h"
#include "tests/e2e/files.h"
#include "tests/e2e/image.h"
#include "tests/e2e/x_server.h"
#include "tests/e2e/x_tools.h"

// Files put into the working directory before the game starts (absent ones are not written),
// and how the game is started.
struct GameSetup {
    std::optional<Bytes> scores; // scores.dat
    std::optional<Bytes> config; // config.dat
    // Added to the working directory's name, to tell apart two sessions of one test.
    std::string name;
    // Changes the working directory once the game's files are in it, before the game starts.
    std::function<bool(const std::string& work_dir, std::string* problem)> prepare;
    // Run as the unprivileged user "nobody" when the tests run as root, so that file
    // permissions count (they do not stop root).
    bool unprivileged = false;
    std::vector<std::string> environment; // NAME=value for the game, over the defaults
    std::vector<std::string> unset;       // names taken out of the game's environment
    // Started instead of the game, in the working directory (the installed launcher, say).
    std::vector<std::string> command;
    bool copy_data = true; // the game's eight files into the working directory
};

struct GameSession {
    std::string label;
    std::string work_dir;
    XServer x;
    pid_t game = -1;
    std::string main_window, gun_window;
    WindowPlace main_place, gun_place;
    Image background;             // bg.bmp: what the game view shows where nothing is drawn
    int mouse_x = 0, mouse_y = 0; // where the pointer was put last, in main-view pixels
    std::chrono::steady_clock::time_point started;
    int pictures_kept = 0;
};

// Starts everything and waits until the game draws its frames (the HUD shows).
bool start_game_session(GameSession* session, const GameSetup& setup, std::string* problem);
// Prepares the working directory and starts the X server and the game, and no more; for a
// game that is expected not to show its windows. Without an X server when with_x is false.
bool start_game_only(GameSession* session, const GameSetup& setup, bool with_x,
                     std::string* problem);
// Starts the game again in a session whose game has ended, with the same X server and
// working directory, and waits for its frames as start_game_session does.
bool restart_game_in_session(GameSession* session, const GameSetup& setup, std::string* problem);

// Waits for the game to end and reports how it ended; a game that does not end in time is
// killed (and reported as still running).
ChildEnd wait_for_game_end(GameSession* session, Milliseconds limit);
// Presses F12, then waits for the game to end.
ChildEnd quit_with_f12(GameSession* session, Milliseconds limit);

// Stops what still runs; keeps the working directory when the test failed, else removes it.
// A game still running is asked to quit with F12, and a failure is added if it does not.
void end_game_session(GameSession* session);

// Ends the session when the test's scope ends, however it ends.
struct SessionGuard {
    GameSession* session;
    ~SessionGuard() { end_game_session(session); }
};

// The main window's picture, 400 x 400.
std::optional<Image> view_picture(GameSession* session);
// Saves a picture in the working directory for a look after a failure; returns the path.
std::string keep_picture(GameSession* session, const Image& image, const std::string& what);

// Puts the pointer at a point of the main view (client pixels).
bool point_at(GameSession* session, int x, int y);
bool fire(GameSession* session);
bool press(GameSession* session, const std::string& key);
std::string work_file(const GameSession& session, const std::string& name);
// What the game wrote on its standard output and error so far.
std::string game_log(const GameSession& session);
// The user id the game runs as for this setup: 65534 for an unprivileged game when the tests
// run as root, otherwise the tests' own.
uid_t game_user(const GameSetup& setup);
double seconds_since_start(const GameSession& session);
