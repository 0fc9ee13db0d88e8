// Without an X display to open the game says so on its standard error and ends with a failure
// status, at once and without a crash, having written nothing.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_session.h"

namespace {

struct NoDisplayCase {
    std::string name;
    std::vector<std::string> environment;
    std::vector<std::string> unset;
};

void PrintTo(const NoDisplayCase& c, std::ostream* out) {
    *out << c.name;
}

// No display at all, or one that names an X server that is not there, with no Wayland either;
// and the same with the X11 driver asked for by name, which leaves SDL no other to try.
const NoDisplayCase no_display_cases[] = {
    {"NoDisplaySet", {}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}},
    {"DisplayOfNoServer", {"DISPLAY=:9876"}, {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}},
    {"NoDisplaySetX11Asked", {"SDL_VIDEODRIVER=x11"}, {"DISPLAY", "WAYLAND_DISPLAY"}},
};

class NoDisplay : public testing::TestWithParam<NoDisplayCase> {};

TEST_P(NoDisplay, TheGameSaysWhyAndEndsWithAFailureStatus) {
    const NoDisplayCase& c = GetParam();
    ASSERT_FALSE(file_exists("/tmp/.X11-unix/X9876")) << "an X server runs on :9876";
    GameSession session;
    GameSetup setup;
    setup.environment = c.environment;
    setup.unset = c.unset;
    setup.without_x = true;
    ASSERT_TRUE(start_game(&session, setup));
    const ChildEnd end = wait_for_game_end(&session, Milliseconds(5000));
    const std::string output = game_log(session);
    // Libraries the display search tries may print first; the game's own line is what counts.
    const size_t from = ("\n" + output).find("\nzarnok3d: ");
    const std::string said =
        from == std::string::npos ? "" : output.substr(from, output.find('\n', from) - from);
    std::cout << "[ bad input ] " << c.name << " | " << describe(end) << ", said: " << said << " | "
              << (end.ended && end.exited && end.exit_status != 0 ? "pass" : "FAIL") << std::endl;
    ASSERT_TRUE(end.ended)
        << "the game still ran 5 s after its start without a display (and was killed)";
    EXPECT_TRUE(end.exited) << "the game ended by a signal: " << describe(end);
    EXPECT_NE(end.exit_status, 0) << "the game ended as if all went well";
    EXPECT_FALSE(said.empty()) << "no line of the game's own; its output:\n" << output;
    EXPECT_FALSE(file_exists(work_file(session, "scores.dat")));
    EXPECT_FALSE(file_exists(work_file(session, "config.dat")));
}

INSTANTIATE_TEST_SUITE_P(Cases, NoDisplay, testing::ValuesIn(no_display_cases),
                         [](const testing::TestParamInfo<NoDisplayCase>& info) {
                             return info.param.name;
                         });

} // namespace
