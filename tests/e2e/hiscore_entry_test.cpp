// A game that scores enters the hi-score table: shoot a target, let the next one escape, type
// a name; scores.dat and the hi-score screen then hold it at rank 1.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/game_session.h"
#include "tests/e2e/score_table.h"
#include "tests/e2e/shooting.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

// Five rows of 0 points under short names: any score above 0 ranks first.
ScoreTable zero_table() {
    ScoreTable table;
    for (int i = 0; i < 5; ++i)
        table[i] = {"Z" + std::to_string(i + 1), 1, 0, 0};
    return table;
}

// The exactly orange pixels of a table cell, as a mask.
std::vector<bool> cell_mask(const Image& view, int row, int column) {
    const Rect cell = hiscore_cell(row, column);
    std::vector<bool> mask;
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x)
            mask.push_back(pixel_at(view, x, y) == row_orange);
    return mask;
}

int width_of(const Extent& e) {
    return e.count == 0 ? 0 : e.right - e.left + 1;
}

testing::AssertionResult shows_hiscores(GameSession* session, Image* view) {
    if (!press(session, "F5"))
        return testing::AssertionFailure() << "xdotool could not press F5";
    if (wait_for_picture(session, Milliseconds(3000), view,
                         [](const Image& v) { return hiscore_screen_problems(v).empty(); }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no hi-score screen after F5:\n"
                                       << hiscore_screen_problems(*view) << "see "
                                       << keep_picture(session, *view, "no_hiscores");
}

TEST(HiScoreEntry, AShotTargetEntersRankOneUnderTheTypedName) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.scores = encode_scores(zero_table());
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem;

    // The prepared table, as the hi-score screen shows it before the game.
    Image table_before;
    ASSERT_TRUE(shows_hiscores(&session, &table_before));
    ASSERT_TRUE(press(&session, "Escape"));
    Image view;
    ASSERT_TRUE(wait_for_picture(&session, Milliseconds(3000), &view,
                                 [](const Image& v) { return hud_shown(v); }));
    const Extent points_at_start = hud_value(view, 0);

    // The first target escapes about 19 s after the start: hit one well before.
    ShootingRecord shooting;
    const bool scored = shoot_targets(&session, 1, Milliseconds(13000), &shooting);
    std::cout << "[   e2e    ] " << shooting.hits << " hit(s) in " << shooting.shots
              << " shot(s):\n"
              << shooting.log;
    ASSERT_TRUE(scored) << "no hit in " << shooting.shots << " shots:\n" << shooting.log;
    // The points read more than "0" now.
    ASSERT_TRUE(wait_for_picture(
        &session, Milliseconds(1000), &view,
        [&](const Image& v) { return hud_value(v, 0).right >= points_at_start.right + 4; }))
        << "the HUD's points did not grow; see " << keep_picture(&session, view, "points");
    ASSERT_TRUE(point_at(&session, view_width / 2, view_height / 2));

    // Left alone, the next escape ends the game with a score that ranks first.
    OverlayLook look;
    ASSERT_TRUE(wait_for_overlay(&session, OverlayKind::new_hiscore, Milliseconds(30000), &look))
        << "no new-hi-score overlay; last saw " << describe(look.reading) << "; see "
        << keep_picture(&session, look.first, "no_hiscore_overlay");
    const int prompt_width = width_of(look.reading.line2);

    // Then one letter too many, held down past the keyboard's auto-repeat (it types once), and
    // taken back with Backspace.
    const std::string name = "Ace 42";
    ASSERT_TRUE(type_text(session.x.display, name));
    ASSERT_TRUE(hold_key(session.x.display, "x", Milliseconds(1200)));
    ASSERT_TRUE(press(&session, "BackSpace"));
    // The name grows on the overlay's second line as it is typed.
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(100),
                           [&] {
                               look = look_at_overlay(&session);
                               return overlay_kind(look.reading) == OverlayKind::new_hiscore &&
                                      width_of(look.reading.line2) >= prompt_width + 25;
                           }))
        << "the typed name did not show: line 2 was " << prompt_width << " px wide, now "
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "typed_name");

    ASSERT_TRUE(press(&session, "Return"));
    ScoreTable table;
    const std::string scores_path = work_file(session, "scores.dat");
    const bool saved = poll_until(Milliseconds(3000), Milliseconds(50), [&] {
        const auto bytes = read_bytes(scores_path);
        return bytes && decode_scores(*bytes, &table) && table[0].name == name;
    });
    const auto bytes = read_bytes(scores_path);
    ASSERT_TRUE(saved) << "scores.dat does not hold \"" << name << "\" at rank 1 but \""
                       << table[0].name << "\": " << (bytes ? hex_bytes(*bytes) : "(no file)");
    // One hit at level 1 scores 1 x 1 x accuracy, the accuracy being hits per shot in percent.
    const uint32_t accuracy = static_cast<uint32_t>(100.0 / shooting.shots);
    EXPECT_EQ(table[0].level, 1);
    EXPECT_EQ(table[0].accuracy, accuracy) << "after " << shooting.shots << " shots";
    EXPECT_EQ(table[0].points, accuracy);
    // The old rows moved down one place; the last one dropped out.
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(table[i].name, "Z" + std::to_string(i));
        EXPECT_EQ(table[i].points, 0u);
    }
    // Once the name is in, the overlay says the game is over.
    EXPECT_TRUE(wait_for_overlay(&session, OverlayKind::game_over, Milliseconds(3000), &look))
        << describe(look.reading) << "; see " << keep_picture(&session, look.first, "after_name");

    // The hi-score screen shows the new row first and the old first row second.
    Image table_after;
    ASSERT_TRUE(shows_hiscores(&session, &table_after));
    // Saved only when a check fails: the expressions after << run only then.
    auto pictures = [&] {
        return "; see " + keep_picture(&session, table_before, "table_before") + " and " +
               keep_picture(&session, table_after, "table_after");
    };
    EXPECT_NE(cell_mask(table_after, 0, 0), cell_mask(table_before, 0, 0))
        << "the first row's name did not change" << pictures();
    EXPECT_GT(count_colour(table_after, hiscore_cell(0, 0), row_orange),
              count_colour(table_before, hiscore_cell(0, 0), row_orange))
        << pictures();
    EXPECT_EQ(cell_mask(table_after, 1, 0), cell_mask(table_before, 0, 0))
        << "the old first row is not second" << pictures();
    EXPECT_GT(width_of(extent_of_colour(table_after, hiscore_cell(0, 3), row_orange)),
              width_of(extent_of_colour(table_before, hiscore_cell(0, 3), row_orange)))
        << "the first row's points are not wider than 0" << pictures();
}

} // namespace
