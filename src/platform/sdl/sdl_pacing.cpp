// Whether presents that promise to wait for the display's refresh keep its pace.
#include "platform/sdl/sdl_pacing.h"

bool judge_swap(SwapPace* pace, uint64_t now, uint64_t period) {
    if (now - pace->last > 2 * period) {
        pace->counted = 0;
        pace->counting_since = now;
    } else if (++pace->counted == judged_swaps) {
        // A few percent of slack: a display's refresh is not exactly what it says.
        pace->kept = now - pace->counting_since >= period * judged_swaps * 97 / 100;
        pace->counted = 0;
        pace->counting_since = now;
    }
    pace->last = now;
    return pace->kept;
}
