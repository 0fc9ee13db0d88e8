// Starting and stopping the game of one test.
#include "tests/e2e/game_session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "tests/e2e/polling.h"
#include "tests/e2e/view_reading.h"

namespace {

const char* const main_title = "Zarnok 3D v1.01";
const char* const gun_title = "Gun";

std::string test_label() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr)
        return "session";
    return std::string(info->test_suite_name()) + "_" + info->name();
}

// The game built with the tests, unless ZARNOK_E2E_GAME names another build of it (one with
// sanitizers, say).
std::string game_program() {
    const char* chosen = std::getenv("ZARNOK_E2E_GAME");
    return chosen != nullptr && *chosen != '\0' ? chosen : ZARNOK_E2E_GAME;
}

// The picture comes from the game's own data, since a test may have damaged the working copy.
bool load_background(GameSession* session, std::string* problem) {
    const std::string path = std::string(ZARNOK_E2E_DATA_DIR) + "/bg.bmp";
    const CommandResult result =
        run_command({"convert", path, "-depth", "8", "ppm:-"}, {}, Milliseconds(20000));
    if (!parse_ppm(result.output, &session->background) ||
        session->background.width != view_width || session->background.height != view_height) {
        *problem = "cannot read " + path + " as a 400 x 400 picture";
        return false;
    }
    return true;
}

bool start_game_process(GameSession* session, const GameSetup& setup, std::string* problem) {
    ChildOptions options;
    options.working_dir = session->work_dir;
    options.log_path = work_file(*session, "game.log");
    // No sound card here: the dummy driver lets the game mix into nothing.
    options.environment = {"SDL_AUDIODRIVER=dummy"};
    if (!session->x.display.empty())
        options.environment.push_back("DISPLAY=" + session->x.display);
    options.environment.insert(options.environment.end(), setup.environment.begin(),
                               setup.environment.end());
    options.unset = setup.unset;
    std::vector<std::string> argv;
    if (game_user(setup) != geteuid())
        argv = {"setpriv", "--reuid=" + std::to_string(game_user(setup)),
                "--regid=" + std::to_string(game_user(setup)), "--clear-groups", "--"};
    if (setup.command.empty())
        argv.push_back(game_program());
    else
        argv.insert(argv.end(), setup.command.begin(), setup.command.end());
    session->game = start_child(argv, options);
    session->started = std::chrono::steady_clock::now();
    if (session->game < 0) {
        *problem = "cannot start " + argv.front();
        return false;
    }
    return true;
}

bool prepare_work_dir(GameSession* session, const GameSetup& setup, std::string* problem) {
    session->label = test_label() + (setup.name.empty() ? "" : "_" + setup.name);
    // Parameterised tests have slashes in their names, and setups may have spaces.
    for (char& c : session->label)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    session->work_dir = make_work_dir(session->label);
    if (session->work_dir.empty()) {
        *problem = "cannot make a working directory";
        return false;
    }
    if (setup.copy_data && !copy_game_data(ZARNOK_E2E_DATA_DIR, session->work_dir, problem))
        return false;
    if (setup.scores && !write_bytes(work_file(*session, "scores.dat"), *setup.scores)) {
        *problem = "cannot write scores.dat";
        return false;
    }
    if (setup.config && !write_bytes(work_file(*session, "config.dat"), *setup.config)) {
        *problem = "cannot write config.dat";
        return false;
    }
    // Another user's game needs to get into the directory and write there.
    if (game_user(setup) != geteuid() && chmod(session->work_dir.c_str(), 0777) != 0) {
        *problem = "cannot open " + session->work_dir + " to other users";
        return false;
    }
    return !setup.prepare || setup.prepare(session->work_dir, problem);
}

bool find_windows(GameSession* session, std::string* problem) {
    const std::string& display = session->x.display;
    const auto main_window = find_window(display, main_title, Milliseconds(15000));
    const auto gun_window = find_window(display, gun_title, Milliseconds(5000));
    if (!main_window || !gun_window) {
        *problem = std::string("the windows \"") + main_title + "\" and \"" + gun_title +
                   "\" did not both show; see " + work_file(*session, "game.log");
        return false;
    }
    session->main_window = *main_window;
    session->gun_window = *gun_window;
    const auto main_place = window_place(display, *main_window);
    const auto gun_place = window_place(display, *gun_window);
    if (!main_place || !gun_place) {
        *problem = "cannot read the places of the game's windows";
        return false;
    }
    session->main_place = *main_place;
    session->gun_place = *gun_place;
    return true;
}

bool focus_main_window(GameSession* session, std::string* problem) {
    if (!focus_window(session->x.display, session->main_window)) {
        *problem = "cannot focus the main window";
        return false;
    }
    // SDL drops a click that comes within about 10 ms of a focus change.
    std::this_thread::sleep_for(Milliseconds(150));
    return true;
}

// Waits for the windows, focuses the main one, centres the pointer and waits for the HUD.
bool wait_until_drawing(GameSession* session, std::string* problem) {
    if (!find_windows(session, problem) || !focus_main_window(session, problem))
        return false;
    if (!point_at(session, view_width / 2, view_height / 2)) {
        *problem = "cannot move the pointer";
        return false;
    }
    std::optional<Image> picture;
    const bool drawing = poll_until(Milliseconds(10000), Milliseconds(50), [&] {
        picture = view_picture(session);
        return picture && hud_shown(*picture);
    });
    if (!drawing) {
        *problem = "the game view shows no HUD";
        if (picture)
            *problem += "; see " + keep_picture(session, *picture, "no_hud");
        return false;
    }
    return true;
}

} // namespace

bool start_game_only(GameSession* session, const GameSetup& setup, bool with_x,
                     std::string* problem) {
    if (!prepare_work_dir(session, setup, problem))
        return false;
    if (with_x && !start_x_server(&session->x, work_file(*session, "xvfb.log"), problem))
        return false;
    return start_game_process(session, setup, problem);
}

bool start_game_session(GameSession* session, const GameSetup& setup, std::string* problem) {
    return load_background(session, problem) && start_game_only(session, setup, true, problem) &&
           wait_until_drawing(session, problem);
}

bool restart_game_in_session(GameSession* session, const GameSetup& setup, std::string* problem) {
    if (session->game >= 0) {
        *problem = "the game of the session still runs";
        return false;
    }
    return start_game_process(session, setup, problem) && wait_until_drawing(session, problem);
}

ChildEnd wait_for_game_end(GameSession* session, Milliseconds limit) {
    if (session->game < 0)
        return ChildEnd{};
    ChildEnd end = wait_for_child(session->game, limit);
    if (!end.ended) {
        kill_child(session->game);
        end = ChildEnd{};
    }
    session->game = -1;
    return end;
}

ChildEnd quit_with_f12(GameSession* session, Milliseconds limit) {
    if (session->game < 0)
        return ChildEnd{};
    // Keys go to the focused window; make sure it is ours.
    focus_window(session->x.display, session->main_window);
    press_key(session->x.display, "F12");
    return wait_for_game_end(session, limit);
}

void end_game_session(GameSession* session) {
    if (session->game >= 0) {
        const ChildEnd end = quit_with_f12(session, Milliseconds(5000));
        if (!end.ended)
            ADD_FAILURE() << "the game did not end within 5 s of F12 and was killed";
        else if (!end.exited || end.exit_status != 0)
            ADD_FAILURE() << "the game ended with " << describe(end) << " after F12";
    }
    stop_x_server(&session->x);
    if (session->work_dir.empty())
        return;
    if (::testing::Test::HasFailure())
        std::cout << "[   e2e    ] kept " << session->work_dir << " (game.log, pictures)\n";
    else
        remove_tree(session->work_dir);
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
    if (!save_png(image, path))
        return path + " (could not be written)";
    return path;
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

double seconds_since_start(const GameSession& session) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - session.started)
        .count();
}
