// A click in the game view fires a shot from the view's centre, and the HUD counts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/e2e/game_session.h"
#include "tests/e2e/view_reading.h"

namespace {

// Where a shot fired straight ahead shows while it flies off into the depth.
constexpr Rect view_centre{160, 160, 241, 241};

// Light grey pixels (shots are grey-white, equal in all channels) that the background picture
// does not have at the same place.
int count_shot_pixels(const Image& view, const Image& background) {
    auto light_grey = [](Rgb p) { return p.r == p.g && p.g == p.b && p.r >= 200; };
    int count = 0;
    for (int y = view_centre.top; y < view_centre.bottom; ++y)
        for (int x = view_centre.left; x < view_centre.right; ++x)
            count += light_grey(pixel_at(view, x, y)) && !light_grey(pixel_at(background, x, y));
    return count;
}

// Pictures of the view taken one after another by a process of their own from just before a
// click on: a shot shows big and white only for its first tenth of a second or so.
std::vector<Image> pictures_around_a_click(GameSession* session) {
    constexpr int count = 12;
    const std::string prefix = work_file(*session, "burst_");
    const std::string loop = "i=0; while [ $i -lt " + std::to_string(count) +
                             " ]; do import -window " + session->main_window + " -depth 8 ppm:\"" +
                             prefix + "$i.ppm\"; i=$((i+1)); done";
    ChildOptions options;
    options.environment = {"DISPLAY=" + session->x.display};
    const pid_t pid = start_child({"sh", "-c", loop}, options);
    pause_for(Milliseconds(60));
    EXPECT_TRUE(fire(session));
    if (pid >= 0 && !wait_for_child(pid, Milliseconds(20000)).ended)
        kill_child(pid);
    std::vector<Image> pictures;
    for (int i = 0; i < count; ++i) {
        const std::string path = prefix + std::to_string(i) + ".ppm";
        std::ifstream in(path, std::ios::binary);
        Image image;
        if (parse_ppm({std::istreambuf_iterator<char>(in), {}}, &image))
            pictures.push_back(std::move(image));
        std::remove(path.c_str());
    }
    return pictures;
}

TEST(Firing, ClickShowsAShotAtTheCentreAndAccuracyDropsToZero) {
    GameSession session;
    ASSERT_TRUE(start_game(&session, {}));
    // The background picture, from the game's own data: what the view shows where nothing is
    // drawn.
    Image background;
    const std::string bg = std::string(ZARNOK_E2E_DATA_DIR) + "/bg.bmp";
    const CommandResult read =
        run_command({"convert", bg, "-depth", "8", "ppm:-"}, {}, Milliseconds(20000));
    ASSERT_TRUE(parse_ppm(read.output, &background) && background.width == view_width &&
                background.height == view_height)
        << "cannot read " << bg << " as a 400 x 400 picture";

    // Before any click nothing light grey is drawn at the centre: the aim line there is green.
    Image before;
    for (int i = 0; i < 3; ++i) {
        auto picture = view_picture(&session);
        ASSERT_TRUE(picture);
        before = std::move(*picture);
        ASSERT_EQ(count_shot_pixels(before, background), 0)
            << "shot-like pixels before any click; see "
            << keep_picture(&session, before, "before");
    }

    const std::vector<Image> pictures = pictures_around_a_click(&session);
    ASSERT_GE(pictures.size(), 6u) << "the screenshot burst gave too few pictures";
    std::vector<int> counts;
    for (const Image& picture : pictures)
        counts.push_back(count_shot_pixels(picture, background));
    const auto best = std::max_element(counts.begin(), counts.end());
    EXPECT_GE(*best, 4) << "no white shot near the view's centre after the click (shot pixels in "
                           "the pictures: "
                        << testing::PrintToString(counts) << "); best picture: "
                        << keep_picture(&session, pictures[best - counts.begin()], "no_shot");

    // The shot flies straight into the empty depth and hits nothing: "100%" becomes "0%", and
    // the points stay 0.
    const Extent accuracy_before = hud_value(before, 1);
    Image after;
    EXPECT_TRUE(wait_for_picture(&session, Milliseconds(2000), &after,
                                 [&](const Image& v) {
                                     const Extent accuracy = hud_value(v, 1);
                                     return accuracy.count > 0 &&
                                            accuracy.right <= accuracy_before.right - 8 &&
                                            accuracy.count < accuracy_before.count;
                                 }))
        << "accuracy value did not shrink from 100% to 0%: yellow pixels " << accuracy_before.count
        << " -> " << hud_value(after, 1).count << ", right edge " << accuracy_before.right << " -> "
        << hud_value(after, 1).right << "; see " << keep_picture(&session, after, "accuracy");
    EXPECT_EQ(count_differences(before, after, hud_value_rect(0)), 0)
        << "the points changed; see " << keep_picture(&session, after, "points");
}

} // namespace
