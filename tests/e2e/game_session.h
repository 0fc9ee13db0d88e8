// One running game for one test: its own X server, working directory and zarnok3d process,
// with the two windows found and the main one focused.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
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
    // Neither an X server nor a wait for the windows: for a game expected to end at once.
    bool without_x = false;
};

// When it goes it stops what still runs (a game still running is asked to quit with F12, and a
// failure is added if it does not) and removes the working directory, unless the test failed.
struct GameSession {
    std::string work_dir;
    XServer x;
    pid_t game = -1;
    std::string main_window, gun_window;
    WindowPlace main_place, gun_place;
    int mouse_x = 0, mouse_y = 0; // where the pointer was put last, in main-view pixels
    std::chrono::steady_clock::time_point started;
    int pictures_kept = 0;

    GameSession() = default;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;
    ~GameSession();
};

// Prepares the working directory, starts the X server and the game and waits until the game
// draws its frames (the HUD shows).
testing::AssertionResult start_game(GameSession* session, const GameSetup& setup);
// Starts the game again in a session whose game has ended, with the same X server and
// working directory.
testing::AssertionResult restart_game(GameSession* session, const GameSetup& setup);

// Waits for the game to end and reports how it ended; a game that does not end in time is
// killed (and reported as still running).
ChildEnd wait_for_game_end(GameSession* session, Milliseconds limit);
enum class Quit { f12, window_close };
// Ends the game with F12 or the window manager's close of the main window; success when it
// ends within 5 s with exit status 0.
testing::AssertionResult quit_game(GameSession* session, Quit how = Quit::f12);

// Calls check until it returns true or the limit has passed; true when it did.
template <typename Check> bool poll_until(Milliseconds limit, Milliseconds interval, Check check) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!check()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

inline void pause_for(Milliseconds time) {
    std::this_thread::sleep_for(time);
}

// The main window's picture, 400 x 400.
std::optional<Image> view_picture(GameSession* session);
// Saves a picture in the working directory for a look after a failure; returns the path.
std::string keep_picture(GameSession* session, const Image& image, const std::string& what);
// Looks again and again until a picture passes the check; *last holds the last picture.
template <typename Check>
bool wait_for_picture(GameSession* session, Milliseconds limit, Image* last, Check check) {
    return poll_until(limit, Milliseconds(40), [&] {
        auto picture = view_picture(session);
        if (!picture)
            return false;
        *last = std::move(*picture);
        return check(*last);
    });
}

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
