// The command line as the program reads it, and long texts as its message boxes show them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "app/readable_text.h"

namespace {

struct Read {
    int status; // -1: the game plays
    Options options;
    std::string said; // on stdout and stderr
};

Read read(std::vector<const char*> args) {
    args.insert(args.begin(), "zarnok3d");
    Read r{};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    r.status =
        read_options(static_cast<int>(args.size()), const_cast<char**>(args.data()), &r.options);
    r.said = testing::internal::GetCapturedStdout();
    r.said += testing::internal::GetCapturedStderr();
    return r;
}

TEST(CommandLine, ChoosesHowToPlay) {
    const Read played = read({});
    EXPECT_EQ(played.status, -1);
    EXPECT_EQ(played.said, "");
    EXPECT_EQ(played.options.windows, WindowArrangement::automatic);
    EXPECT_EQ(played.options.renderer, RendererChoice::automatic);
    EXPECT_FALSE(played.options.uncapped);
    const Read chosen = read({"--uncapped", "--one-window", "--renderer=gpu"});
    EXPECT_TRUE(chosen.options.uncapped);
    EXPECT_EQ(chosen.options.windows, WindowArrangement::one_window);
    EXPECT_EQ(chosen.options.renderer, RendererChoice::gpu);
    const Read changed = read({"--one-window", "--two-windows", "--renderer=surface"});
    EXPECT_EQ(changed.options.windows, WindowArrangement::two_windows); // the last one counts
    EXPECT_EQ(changed.options.renderer, RendererChoice::surface);
    const Read watched = read({"--fast", "--replay", "rank1.zrp"});
    EXPECT_EQ(watched.status, -1);
    EXPECT_STREQ(watched.options.replay, "rank1.zrp");
    EXPECT_TRUE(watched.options.fast);
}

TEST(MessageText, LinesOfAtMost72BytesAndAtMost12) {
    const std::string a72(72, 'a'), b71(71, 'b');
    // "thirteenth" would end past the 72nd byte
    const std::string words = "one two three four five six seven eight nine ten eleven twelve";
    const struct {
        std::string text, shown;
    } cases[] = {
        {"short", "short"},
        {"first\nsecond", "first\nsecond"},
        {a72 + "aaa", a72 + "\naaa"},                            // no space: cut at the width
        {words + " thirteenth one", words + "\nthirteenth one"}, // at the last space that fits
        {b71 + "\xc3\xa9" + "c", b71 + "\n\xc3\xa9" + "c"},      // never inside a character
        {std::string(13 * 72, 'd'),
         [] {
             std::string s;
             for (int line = 0; line < 11; ++line)
                 s += std::string(72, 'd') + "\n";
             return s + std::string(69, 'd') + "...";
         }()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readable(c.text), c.shown) << c.text;
}

} // namespace
