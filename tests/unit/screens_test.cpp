// The HUD and the three side screens: what is written where, in which colour, and the text
// state each leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "app/state.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/key_codes.h"
#include "screens/about_screen.h"
#include "screens/help_screen.h"
#include "screens/hiscore_screen.h"
#include "screens/hud.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"

namespace {

class ScreenTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        start_game();
        back = views[main_view].back_dc;
        fake::state().texts.clear();
    }
    // A view of another size, as the window might have.
    void resize_view(int32_t width, int32_t height) {
        views[main_view].width = width;
        views[main_view].height = height;
        delete_back_buffer(views[main_view].back_dc);
        back = views[main_view].back_dc = create_back_buffer(width, height);
    }
    std::map<std::string, TextCall> texts_by_string() const {
        std::map<std::string, TextCall> found;
        for (const TextCall& call : fake::texts_on(back))
            found.insert_or_assign(call.text, call); // the last copy drawn
        return found;
    }
    Canvas* back = nullptr;
};

TEST_F(ScreenTest, TheHudReadsTheStartOfAGame) {
    draw_hud(back);
    const auto texts = fake::texts_on(back);
    ASSERT_EQ(texts.size(), 8u);
    const char* labels[] = {"POINTS:", "ACCURACY:", "LEVEL:", "TO NEXT:"};
    const char* values[] = {"0", "100%", "1", "5"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].text, labels[i]);
        EXPECT_EQ(texts[i].x, 0);
        EXPECT_EQ(texts[i].y, 20 * i);
        EXPECT_EQ(texts[i].colour, rgb(0, 255, 0));
        EXPECT_EQ(texts[4 + i].text, values[i]);
        EXPECT_EQ(texts[4 + i].x, 80);
        EXPECT_EQ(texts[4 + i].y, 20 * i);
        EXPECT_EQ(texts[4 + i].colour, rgb(255, 255, 0));
        EXPECT_EQ(texts[4 + i].mode, BackgroundMode::transparent);
    }
}

TEST_F(ScreenTest, TheHudShowsMillionsWholeAndRestoresTheTextState) {
    points = 4294967295u;
    level = 23;
    back->text_colour = rgb(1, 2, 3);
    back->background_mode = BackgroundMode::opaque;
    draw_hud(back);
    EXPECT_NE(fake::find_text("4294967295"), nullptr);
    EXPECT_NE(fake::find_text("23"), nullptr);
    EXPECT_EQ(back->text_colour, rgb(1, 2, 3));
    EXPECT_EQ(back->background_mode, BackgroundMode::opaque);
}

TEST_F(ScreenTest, VolumePercentagesRoundDown) {
    EXPECT_EQ(volume_percent(128), 50);
    EXPECT_EQ(volume_percent(138), 54);
    EXPECT_EQ(volume_percent(0), 0);
    EXPECT_EQ(volume_percent(255), 100);
    EXPECT_EQ(volume_percent(51), 20);
    EXPECT_EQ(volume_percent(10), 3);
}

TEST_F(ScreenTest, TheHelpScreenInAWiderView) {
    resize_view(640, 480);
    draw_help_screen(back);
    const auto texts = texts_by_string();
    EXPECT_EQ(texts.at("HELP").x, 320);
    EXPECT_EQ(texts.at("HELP").y, 10);
    EXPECT_EQ(texts.at("HELP").colour, rgb(255, 255, 255));
    EXPECT_EQ(texts.at("HELP").align, TextAlign::centre_top);
    EXPECT_EQ(fake::texts_on(back)[0].colour, rgb(155, 155, 155));
    EXPECT_EQ(fake::texts_on(back)[0].x, 319);
    EXPECT_EQ(texts.at("F1:").x, 20);
    EXPECT_EQ(texts.at("F1:").y, 60);
    EXPECT_EQ(texts.at("F1:").colour, rgb(0, 255, 0));
    EXPECT_EQ(texts.at("F12 (or ALT-F4):").y, 260);
    EXPECT_EQ(texts.at("displays this screen").x, 340);
    EXPECT_EQ(texts.at("quits :(").colour, rgb(255, 255, 0));
    EXPECT_EQ(texts.at("Music Volume: 50%").y, 420);
    EXPECT_EQ(texts.at("Sound Volume: 50%").y, 435);
    EXPECT_EQ(texts.at("press any key (other than F1) to resume").y, 460);
    EXPECT_EQ(texts.at("press any key (other than F1) to resume").x, 10);
    // What it leaves set, which the frame-rate line of later frames relies on.
    EXPECT_EQ(back->text_colour, rgb(255, 255, 255));
    EXPECT_EQ(back->background_mode, BackgroundMode::transparent);
    EXPECT_EQ(back->align, TextAlign::left_top);
}

TEST_F(ScreenTest, TheHelpScreenFollowsTheVolumeKeys) {
    press_and_release(vk_f1);
    press_and_release(vk_prior);
    EXPECT_EQ(help_shown, 1);
    draw_help_screen(back);
    EXPECT_NE(fake::find_text("Sound Volume: 54%"), nullptr);
    EXPECT_NE(fake::find_text("Music Volume: 50%"), nullptr);
}

TEST_F(ScreenTest, TheHiScoreScreenInAWiderView) {
    resize_view(640, 480);
    hiscores[1].accuracy = 300;
    draw_hiscore_screen(back);
    const auto texts = texts_by_string();
    const std::pair<const char*, int32_t> headings[] = {
        {"NAME", 128}, {"LEVEL", 216}, {"ACCURACY", 336}, {"POINTS", 472}};
    for (const auto& [heading, x] : headings) {
        EXPECT_EQ(texts.at(heading).x, x) << heading;
        EXPECT_EQ(texts.at(heading).y, 90) << heading;
        EXPECT_EQ(texts.at(heading).colour, rgb(48, 48, 216)) << heading;
        EXPECT_EQ(texts.at(heading).align, TextAlign::centre_top) << heading;
    }
    EXPECT_EQ(texts.at("Tibbo").x, 64);
    EXPECT_EQ(texts.at("Tibbo").y, 120);
    EXPECT_EQ(texts.at("Tibbo").colour, rgb(255, 138, 0));
    EXPECT_EQ(texts.at("Dusko").y, 220);
    EXPECT_EQ(texts.at("5").x, 160);
    EXPECT_EQ(texts.at("10000").x, 448);
    EXPECT_EQ(texts.at("44%").x, 320); // the low byte of 300
    EXPECT_EQ(texts.at("44%").y, 145);
    EXPECT_EQ(texts.at("1%").y, 220);
    EXPECT_EQ(back->text_colour, rgb(255, 138, 0));
    EXPECT_EQ(back->align, TextAlign::left_top);
}

TEST_F(ScreenTest, NamesAreShownUpToTheirZeroOrAllElevenBytes) {
    std::memcpy(hiscores[0].name, "ABCDEFGHIJK", 11);
    hiscores[1].name[0] = '\0';
    draw_hiscore_screen(back);
    EXPECT_NE(fake::find_text("ABCDEFGHIJK"), nullptr);
    const auto rows = fake::texts_on(back);
    // The unnamed row still shows its figures.
    EXPECT_NE(fake::find_text("8000"), nullptr);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const TextCall& t) { return t.y == 125 && t.x == 40; }),
              1);
}

TEST_F(ScreenTest, TheAboutScreenPlacesItsTwoBlocksIndependently) {
    resize_view(640, 480);
    draw_about_screen(back);
    auto texts = fake::texts_on(back);
    ASSERT_EQ(texts.size(), 2u + 15u + 6u);
    EXPECT_EQ(texts[1].text, "Zarnok3D v1.01");
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(texts[2 + i].y, 35 + 15 * i);
        EXPECT_EQ(texts[2 + i].x, 10);
        EXPECT_EQ(texts[2 + i].colour, rgb(229, 162, 0));
        const bool paragraph_start = i == 0 || i == 5 || i == 11;
        EXPECT_EQ(texts[2 + i].text.rfind("    ", 0) == 0, paragraph_start) << i;
    }
    EXPECT_EQ(texts[17].y, 385);
    EXPECT_EQ(texts[22].y, 460);
    for (int i : {18, 19, 20, 22})
        EXPECT_EQ(texts[i].text.rfind("    --> ", 0), 0u) << i;
    EXPECT_NE(texts[21].text.find("SDL2_mixer"), std::string::npos);

    fake::state().texts.clear();
    resize_view(400, 340);
    draw_about_screen(back);
    texts = fake::texts_on(back);
    EXPECT_EQ(texts[17].y, texts[16].y); // the first credit meets the last body line
}

TEST_F(ScreenTest, ScreensStartFromTheirOwnPictures) {
    press_and_release(vk_f5);
    draw_hiscore_screen(back);
    EXPECT_EQ(pixel_at(back, 399, 399), pixel_at(hiscore_bitmap, 399, 399));
    press_and_release(vk_f7);
    draw_about_screen(back);
    EXPECT_EQ(pixel_at(back, 399, 399), pixel_at(about_bitmap, 399, 399));
    EXPECT_NE(pixel_at(about_bitmap, 0, 0), pixel_at(hiscore_bitmap, 0, 0));
}

} // namespace
