// Whether presents that promise to wait for the display's refresh keep its pace, judged on the
// clock's readings alone.
#pragma once

#include <cstdint>

// A renderer may promise vertical sync and keep another pace (a software OpenGL under Xvfb
// returns at once, or at the server's own 62.5 Hz): its presents are judged over a second of
// them, and once they came faster than the display's refresh, they no longer pace the passes.
struct SwapPace {
    int counted = 0;             // presents since the count began
    uint64_t counting_since = 0; // when the count began
    uint64_t last = 0;           // when the last present came back
    bool kept = true;            // the presents pace the passes
};
constexpr int judged_swaps = 60;

// Counts a present that came back at `now`, with the display's refresh `period` apart (both in
// the clock's own units); whether the presents still pace the passes. A gap of more than two
// periods (a pass that presented nothing) starts the count again.
bool judge_swap(SwapPace* pace, uint64_t now, uint64_t period);
