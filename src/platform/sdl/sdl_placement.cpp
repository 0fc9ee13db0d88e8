// Where a window stands and how big it is: the arithmetic of placing and scaling windows.
#include "platform/sdl/sdl_placement.h"

#include <algorithm>

SDL_Point natural_size(const WindowPlacement& place, SDL_Point beside) {
    return {(place.view_width + beside.x) * place.natural_scale,
            std::max(place.view_height, beside.y) * place.natural_scale};
}

bool lay_out_in(WindowPlacement* place, SDL_Point size, SDL_Point beside, SDL_Point primary) {
    const bool new_size = size.x != place->laid_out_for.x || size.y != place->laid_out_for.y;
    place->laid_out_for = size;
    place->layout =
        lay_out(size, {place->view_width, place->view_height}, beside, place->natural_scale);
    const ViewPlace& layout = place->layout;
    place->told = {floor_div(place->at.x + layout.x - primary.x, layout.scale),
                   floor_div(place->at.y + layout.y - primary.y, layout.scale)};
    return new_size;
}

SDL_Point nearest_view_pixel(const WindowPlacement& place, SDL_Point view_pixel) {
    return {std::clamp(view_pixel.x, 0, std::max(place.view_width - 1, 0)),
            std::clamp(view_pixel.y, 0, std::max(place.view_height - 1, 0))};
}

ScreenPoint to_view(const WindowPlacement& place, SDL_Point point) {
    const ViewPlace& layout = place.layout;
    return {place.told.x + floor_div(point.x - place.at.x - layout.x, layout.scale),
            place.told.y + floor_div(point.y - place.at.y - layout.y, layout.scale)};
}

SDL_Point to_screen(const WindowPlacement& place, ScreenPoint point) {
    const ViewPlace& layout = place.layout;
    return {place.at.x + layout.x + (point.x - place.told.x) * layout.scale,
            place.at.y + layout.y + (point.y - place.told.y) * layout.scale};
}

SDL_Point clear_of_frames(const WindowPlacement& place, SDL_Point asked) {
    return {asked.x - place.frame_gap, asked.y};
}

void start_placing(WindowPlacement* place, Uint64 now) {
    place->tries_left = placing_tries;
    place->placed_by = now + placing_time_ms;
}

bool where_wanted(const WindowPlacement& window, const WindowPlacement* main) {
    const SDL_Point place = clear_of_frames(window, window.wanted);
    if (window.at.x == place.x && window.at.y == place.y)
        return true;
    if (main == nullptr || main->placed_by != 0)
        return false;
    const SDL_Point beside = clear_of_frames(
        window, {main->at.x + main->layout.x - window.view_width * main->natural_scale,
                 main->at.y + main->layout.y});
    return window.at.x == beside.x && window.at.y == beside.y;
}

Placing judge_placing(WindowPlacement* place, Uint64 now, bool elsewhere) {
    if (place->placed_by == 0 || now < place->placed_by)
        return Placing::not_yet;
    // A window manager kept busy by a loaded machine has refused nothing yet.
    if (elsewhere && !place->answered && now < place->placed_by + answer_time_ms)
        return Placing::not_yet;
    const bool refused = elsewhere && place->first_placing;
    place->tries_left = 0;
    place->placed_by = 0;
    place->first_placing = false;
    return refused ? Placing::first_place_refused : Placing::settled;
}

bool one_window_chosen(WindowArrangement arrangement, bool desktop_places_windows,
                       bool first_place_refused) {
    return arrangement == WindowArrangement::one_window ||
           (arrangement == WindowArrangement::automatic &&
            (desktop_places_windows || first_place_refused));
}

int32_t scale_at(SDL_Point point, const SDL_Rect* monitors, int count, int32_t view_height) {
    for (int i = 0; i < count; ++i)
        if (SDL_PointInRect(&point, &monitors[i]))
            return scale_for_monitor(monitors[i].h, view_height);
    return 0;
}

int32_t new_scale(const WindowPlacement& place, SDL_Point size, const SDL_Rect* monitors, int count,
                  int32_t view_height) {
    const int32_t scale =
        scale_at({place.at.x + size.x / 2, place.at.y + size.y / 2}, monitors, count, view_height);
    return scale > 0 && scale != place.natural_scale ? scale : 0;
}

bool on_one_monitor(const SDL_Rect& area, const SDL_Rect* monitors, int count) {
    return std::any_of(monitors, monitors + count, [&](const SDL_Rect& monitor) {
        SDL_Rect common{};
        return SDL_IntersectRect(&area, &monitor, &common) && SDL_RectEquals(&common, &area);
    });
}
