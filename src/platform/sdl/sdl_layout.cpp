// The arithmetic of showing views in windows.
#include "platform/sdl/sdl_layout.h"

#include <algorithm>

int32_t scale_for_monitor(int32_t monitor_height, int32_t view_height) {
    return view_height > 0 ? std::max(1, monitor_height / 2 / view_height) : 1;
}

ViewPlace lay_out(SDL_Point window, SDL_Point view, SDL_Point beside, int32_t natural) {
    const int32_t content_height = std::max(view.y, beside.y);
    if (window.x == (view.x + beside.x) * natural && window.y == content_height * natural)
        return {natural, beside.x * natural, 0};
    const int32_t scale = std::max(
        1, std::min(window.y / std::max(view.y, 1), window.x / std::max(view.x + 2 * beside.x, 1)));
    return {scale, (window.x - view.x * scale) / 2, (window.y - view.y * scale) / 2};
}

bool part_on_monitors(const SDL_Rect& rect, const SDL_Rect* monitors, int count, SDL_Rect* part) {
    bool any = false;
    for (int i = 0; i < count; ++i) {
        SDL_Rect on_monitor{};
        if (!SDL_IntersectRect(&rect, &monitors[i], &on_monitor))
            continue;
        if (any)
            SDL_UnionRect(part, &on_monitor, part);
        else
            *part = on_monitor;
        any = true;
    }
    return any;
}
