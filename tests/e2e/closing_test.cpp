// The program reads its volumes at the start and writes them when it closes, by F12 or by the
// window manager's close of the main window.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"
#include "tests/e2e/polling.h"
#include "tests/e2e/x_client.h"

namespace {

TEST(Closing, TheWindowCloseEndsTheProgramAndSavesTheVolumesItRead) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.config = Bytes{200, 0, 0, 0, 30, 0, 0, 0}; // music 200, sound 30
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem;

    // Home: music 10 louder; Page Down twice: sound 20 softer.
    ASSERT_TRUE(press(&session, "Home"));
    ASSERT_TRUE(press(&session, "Next"));
    ASSERT_TRUE(press(&session, "Next"));
    pause_for(Milliseconds(200));
    ASSERT_TRUE(ask_window_to_close(session.x.display, session.main_window));
    const ChildEnd end = wait_for_game_end(&session, Milliseconds(5000));
    ASSERT_TRUE(end.ended) << "the game did not end within 5 s of the window's close";
    EXPECT_TRUE(end.exited && end.exit_status == 0) << describe(end);
    const auto config = read_bytes(work_file(session, "config.dat"));
    ASSERT_TRUE(config);
    EXPECT_EQ(hex_bytes(*config), "d2 00 00 00 0a 00 00 00");
}

} // namespace
