// Starting and stopping the game of one test.
#include "tests/e2e/game_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>

#include "tests/e2e/view_reading.h"
#include "tests/e2e/x_client.h"

namespace {

using testing::AssertionFailure;
using testing::AssertionResult;
using testing::AssertionSuccess;

// The game built with the tests, unless ZARNOK_E2E_GAME names another build of it (one with
// sanitizers, say).
std::string game_program() {
    const char* chosen = std::getenv("ZARNOK_E2E_GAME");
    return chosen != nullptr && *chosen != '\0' ? chosen : ZARNOK_E2E_GAME;
}

AssertionResult start_game_process(GameSession* session, const GameSetup& setup) {
    ChildOptions options;
    options.working_dir = session->work_dir;
    options.log_path = work_file(*session, "game.log");
    // No sound card here: the dummy driver lets the game mix into nothing.
    options.environment = {"SDL_AUDIODRIVER=dummy"};
    options.unset = setup.unset;
    if (!session->x.display.empty())
        options.environment.push_back("DISPLAY=" + session->x.display);
    options.environment.insert(options.environment.end(), setup.environment.begin(),
                               setup.environment.end());
    std::vector<std::string> argv;
    if (const std::string user = std::to_string(game_user(setup)); game_user(setup) != geteuid())
        argv = {"setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups", "--"};
    if (setup.command.empty())
        argv.push_back(game_program());
    argv.insert(argv.end(), setup.command.begin(), setup.command.end());
    session->game = start_child(argv, options);
    session->started = std::chrono::steady_clock::now();
    if (session->game < 0)
        return AssertionFailure() << "cannot start " << argv.front();
    return AssertionSuccess();
}

AssertionResult prepare_work_dir(GameSession* session, const GameSetup& setup) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string label = std::string(test->test_suite_name()) + "_" + test->name() +
                        (setup.name.empty() ? "" : "_" + setup.name);
    // Parameterised tests have slashes in their names, and setups may have spaces.
    for (char& c : label)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    session->work_dir = make_work_dir(label);
    std::string problem;
    if (session->work_dir.empty())
        return AssertionFailure() << "cannot make a working directory";
    if (setup.copy_data && !copy_game_data(ZARNOK_E2E_DATA_DIR, session->work_dir, &problem))
        return AssertionFailure() << problem;
    auto put = [&](const char* name, const std::optional<Bytes>& bytes) {
        return !bytes || write_bytes(work_file(*session, name), *bytes);
    };
    if (!put("scores.dat", setup.scores) || !put("config.dat", setup.config))
        return AssertionFailure() << "cannot write scores.dat or config.dat";
    // Another user's game needs to get into the directory and write there.
    if (game_user(setup) != geteuid() && chmod(session->work_dir.c_str(), 0777) != 0)
        return AssertionFailure() << "cannot open " << session->work_dir << " to other users";
    if (setup.prepare && !setup.prepare(session->work_dir, &problem))
        return AssertionFailure() << problem;
    return AssertionSuccess();
}

// Waits for the windows, focuses the main one, centres the pointer and waits for the HUD.
AssertionResult wait_until_drawing(GameSession* session) {
    const std::string& display = session->x.display;
    const auto main_window = find_window(display, "Zarnok 3D v1.01", Milliseconds(15000));
    const auto gun_window = find_window(display, "Gun", Milliseconds(5000));
    if (!main_window || !gun_window)
        return AssertionFailure() << "the windows \"Zarnok 3D v1.01\" and \"Gun\" did not both "
                                     "show; the game's output:\n"
                                  << game_log(*session);
    session->main_window = *main_window;
    session->gun_window = *gun_window;
    const auto main_place = window_place(display, *main_window);
    const auto gun_place = window_place(display, *gun_window);
    if (!main_place || !gun_place)
        return AssertionFailure() << "cannot read the places of the game's windows";
    session->main_place = *main_place;
    session->gun_place = *gun_place;
    if (!focus_window(display, session->main_window))
        return AssertionFailure() << "cannot focus the main window";
    // SDL drops a click that comes within about 10 ms of a focus change.
    pause_for(Milliseconds(150));
    if (!point_at(session, view_width / 2, view_height / 2))
        return AssertionFailure() << "cannot move the pointer";
    Image picture;
    if (!wait_for_picture(session, Milliseconds(10000), &picture, hud_shown))
        return AssertionFailure() << "the game view shows no HUD; see "
                                  << keep_picture(session, picture, "no_hud");
    return AssertionSuccess();
}

} // namespace

AssertionResult start_game(GameSession* session, const GameSetup& setup) {
    std::string problem;
    if (auto prepared = prepare_work_dir(session, setup); !prepared)
        return prepared;
    if (!setup.without_x && !start_x_server(&session->x, work_file(*session, "xvfb.log"), &problem))
        return AssertionFailure() << problem;
    if (auto started = start_game_process(session, setup); !started || setup.without_x)
        return started;
    return wait_until_drawing(session);
}

AssertionResult restart_game(GameSession* session, const GameSetup& setup) {
    if (session->game >= 0)
        return AssertionFailure() << "the game of the session still runs";
    if (auto started = start_game_process(session, setup); !started)
        return started;
    return wait_until_drawing(session);
}

ChildEnd wait_for_game_end(GameSession* session, Milliseconds limit) {
    if (session->game < 0)
        return ChildEnd{};
    ChildEnd end = wait_for_child(session->game, limit);
    if (!end.ended)
        kill_child(session->game);
    session->game = -1;
    return end;
}

AssertionResult quit_game(GameSession* session, Quit how) {
    const char* event = how == Quit::f12 ? "F12" : "the window's close";
    if (session->game < 0)
        return AssertionFailure() << "no game to end with " << event;
    if (how == Quit::f12) {
        // Keys go to the focused window; make sure it is ours.
        focus_window(session->x.display, session->main_window);
        press(session, "F12");
    } else if (!ask_window_to_close(session->x.display, session->main_window)) {
        return AssertionFailure() << "cannot ask the main window to close";
    }
    const ChildEnd end = wait_for_game_end(session, Milliseconds(5000));
    if (!exited_with_zero(end))
        return AssertionFailure() << "after " << event << " the game: " << describe(end)
                                  << (end.ended ? "" : " 5 s later (and was killed)");
    return AssertionSuccess() << "after " << event << ": " << describe(end);
}

GameSession::~GameSession() {
    if (game >= 0) {
        EXPECT_TRUE(quit_game(this));
    }
    stop_x_server(&x);
    if (work_dir.empty())
        return;
    if (testing::Test::HasFailure())
        std::cout << "[   e2e    ] kept " << work_dir << " (game.log, pictures)\n";
    else
        remove_tree(work_dir);
}

std::optional<Image> view_picture(GameSession* session) {
    auto picture = take_screenshot(session->x.display, session->main_window);
    if (!picture || picture->width != view_width || picture->height != view_height)
        return std::nullopt;
    return picture;
}

std::string keep_picture(GameSession* session, const Image& image, const std::string& what) {
    const std::string path =
        work_file(*session, std::to_string(++session->pictures_kept) + "_" + what + ".png");
    return save_png(image, path) ? path : path + " (could not be written)";
}

bool point_at(GameSession* session, int x, int y) {
    session->mouse_x = x;
    session->mouse_y = y;
    return move_pointer(session->x.display, session->main_place.x + x, session->main_place.y + y);
}

bool fire(GameSession* session) {
    return click_left(session->x.display);
}

bool press(GameSession* session, const std::string& key) {
    return press_key(session->x.display, key);
}

std::string work_file(const GameSession& session, const std::string& name) {
    return session.work_dir + "/" + name;
}

std::string game_log(const GameSession& session) {
    const auto bytes = read_bytes(work_file(session, "game.log"));
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

uid_t game_user(const GameSetup& setup) {
    constexpr uid_t nobody = 65534;
    return setup.unprivileged && geteuid() == 0 ? nobody : geteuid();
}
