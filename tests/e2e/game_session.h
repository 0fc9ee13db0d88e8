// One running game for one test: its own X server, working directory and zarnok3d process,
// with the two windows found and the main one focused.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/e2e/child_process.h"
#include "tests/e2e/files.h"
#include "tests/e2e/image.h"
#include "tests/e2e/x_server.h"
#include "tests/e2e/x_tools.h"

// Files put into the working directory before the game starts; absent ones are not written.
struct GameSetup {
    std::optional<Bytes> scores; // scores.dat
    std::optional<Bytes> config; // config.dat
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
double seconds_since_start(const GameSession& session);
