// The window code's rules that need no display: whether presents keep the refresh's pace.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sdl/sdl_pacing.h"

namespace {

// Presents that promise vsync, on a clock of 1000 units per refresh: runs of (interval, how
// many) after a first present, and whether they are still taken to pace the passes.
TEST(FramePacing, PresentsFasterThanTheRefreshStopPacing) {
    struct Case {
        const char* what;
        std::vector<std::pair<uint64_t, int>> runs;
        bool kept;
    };
    const Case cases[] = {
        {"at the refresh", {{1000, 60}}, true},
        {"twice as fast", {{500, 60}}, false},
        {"twice as fast, one short of a judgement", {{500, 59}}, true},
        {"3% fast", {{970, 60}}, true},
        {"4% fast", {{960, 60}}, false},
        {"fast, a pause restarting the count", {{500, 30}, {2001, 1}, {500, 59}}, true},
        {"slower than the refresh", {{1700, 120}}, true},
    };
    for (const Case& c : cases) {
        SwapPace pace;
        uint64_t now = 5000;
        bool kept = judge_swap(&pace, now, 1000);
        for (const auto& [interval, count] : c.runs)
            for (int i = 0; i < count; ++i)
                kept = judge_swap(&pace, now += interval, 1000);
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

} // namespace
