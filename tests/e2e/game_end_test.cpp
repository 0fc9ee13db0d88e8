// A game left alone ends when its first target escapes; F2 starts another, and F12 closes the
// program and saves the volumes.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"
#include "tests/e2e/score_table.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

// The first target appears 2 s after the start and falls for 17 s before it leaves the field.
constexpr double earliest_end_s = 17.0;
constexpr double latest_end_s = 24.0;

// Pointer positions the aim line is looked for at, in view pixels.
constexpr int pointer_places[3][2] = {{200, 150}, {120, 150}, {300, 250}};

// Points the gun and counts the aim line's pixels where it should show.
int aim_line_pixels_at(GameSession* session, int mouse_x, int mouse_y, Image* view) {
    point_at(session, mouse_x, mouse_y);
    pause_for(Milliseconds(100));
    auto picture = view_picture(session);
    if (!picture)
        return -1;
    *view = std::move(*picture);
    return count_aim_line(*view, aim_line_region(mouse_x, mouse_y));
}

TEST(GameEnd, AnEscapedTargetEndsTheGameF2RestartsAndF12SavesTheVolumes) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    ASSERT_TRUE(start_game_session(&session, {}, &problem)) << problem;

    // Without scores.dat the game writes its built-in table at start-up.
    ScoreTable table;
    const auto scores_at_start = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores_at_start) << "no scores.dat after start-up";
    ASSERT_TRUE(decode_scores(*scores_at_start, &table))
        << "scores.dat has " << scores_at_start->size() << " bytes";
    EXPECT_EQ(table[0].name, "Tibbo");
    EXPECT_EQ(table[0].points, 10000u);
    EXPECT_FALSE(file_exists(work_file(session, "config.dat")))
        << "config.dat is written before the game closes";

    // While playing, the aim line follows the pointer and no overlay shows.
    Image view;
    for (const auto& [x, y] : pointer_places)
        EXPECT_GE(aim_line_pixels_at(&session, x, y, &view), 20)
            << "no aim line for the pointer at (" << x << "," << y << "); see "
            << keep_picture(&session, view, "aim_line");
    OverlayLook look = look_at_overlay(&session);
    ASSERT_TRUE(look.taken);
    EXPECT_EQ(overlay_kind(look.reading), OverlayKind::none)
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "playing");

    const bool ended = wait_for_overlay(&session, OverlayKind::game_over,
                                        Milliseconds(static_cast<int>(latest_end_s * 1000)), &look);
    const double ended_at = seconds_since_start(session);
    ASSERT_TRUE(ended) << "no game-over overlay " << ended_at << " s after the start; last saw "
                       << describe(look.reading) << "; see "
                       << keep_picture(&session, look.first, "not_over");
    EXPECT_GE(ended_at, earliest_end_s) << "the game ended too early";
    EXPECT_LE(ended_at, latest_end_s) << "the game ended too late";

    // The aim line blew up at the end; its sparks live 2.55 s. Then no aim line shows where it
    // would run, whatever the pointer does. (The sparks of later escapes near the floor can
    // darken to pure green too; they stay out of these regions.)
    pause_for(Milliseconds(2800));
    for (const auto& [x, y] : pointer_places)
        EXPECT_EQ(aim_line_pixels_at(&session, x, y, &view), 0)
            << "aim-line green after the game ended, pointer at (" << x << "," << y << "); see "
            << keep_picture(&session, view, "aim_line_after_end");
    look = look_at_overlay(&session);
    ASSERT_TRUE(look.taken);
    EXPECT_EQ(overlay_kind(look.reading), OverlayKind::game_over)
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "overlay");
    EXPECT_FALSE(file_exists(work_file(session, "config.dat")));

    // F2 starts a new game at once: no overlay, no targets yet, the aim line back.
    ASSERT_TRUE(point_at(&session, view_width / 2, view_height / 2));
    ASSERT_TRUE(press(&session, "F2"));
    EXPECT_TRUE(wait_for_overlay(&session, OverlayKind::none, Milliseconds(3000), &look))
        << "the overlay stayed after F2: " << describe(look.reading) << "; see "
        << keep_picture(&session, look.first, "after_f2");
    EXPECT_TRUE(find_red_blobs(look.first).empty())
        << "targets right after F2; see " << keep_picture(&session, look.first, "after_f2");
    EXPECT_GE(count_aim_line(look.first, around(view_width / 2, view_height / 2, 20)), 20)
        << "no aim line after F2; see " << keep_picture(&session, look.first, "after_f2");

    const ChildEnd end = quit_with_f12(&session, Milliseconds(5000));
    EXPECT_TRUE(end.ended && end.exited && end.exit_status == 0)
        << "after F12 the game: " << describe(end);
    const auto config = read_bytes(work_file(session, "config.dat"));
    ASSERT_TRUE(config) << "no config.dat after F12";
    EXPECT_EQ(hex_bytes(*config), "80 00 00 00 80 00 00 00");
    // A score of 0 enters no table: scores.dat is as it was.
    const auto scores_at_end = read_bytes(work_file(session, "scores.dat"));
    ASSERT_TRUE(scores_at_end);
    EXPECT_EQ(hex_bytes(*scores_at_end), hex_bytes(*scores_at_start));
}

} // namespace
