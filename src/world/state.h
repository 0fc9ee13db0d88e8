// The game's shared state, which every part of the game reads and the shell drives: the
// game-state flags, the two views, the pictures and the objects that live for the whole run, and
// the frame rate.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"
#include "geometry/transform.h"
#include "platform/canvas.h"
#include "platform/window.h"

// Who plays the game: the player, or a record the player watches, at its own pace or as fast as
// it goes. A watched game takes its input from the record and saves nothing; played fast, it
// makes no sound.
enum class Playing { live, watched, watched_fast };
extern Playing playing;

// Flags hold 0 or 1.
extern int32_t running;
extern int32_t quit_requested;
extern int32_t app_active;
extern int32_t paused;
extern int32_t help_shown;
extern int32_t hiscores_shown;
extern int32_t about_shown;
extern int32_t game_over;
extern int32_t entering_name;
extern int32_t show_fps;
// The hi-score row being named, the characters typed into it, and the scan code acted on last
// (-1 for none).
extern int32_t new_rank;
extern int32_t name_length;
extern int32_t last_name_key;

inline bool side_screen_shown() {
    return help_shown || hiscores_shown || about_shown;
}

struct View {
    WindowHandle window;
    int32_t x, y;          // client area's screen position
    int32_t width, height; // client size
    int32_t mouse_x, mouse_y;
    int32_t minimised; // set while the window is down with its partner
    Canvas* back_dc;   // the back buffer, of the client size the view had at start-up
    Light light;
    Eye eye;
};

constexpr int main_view = 0;
constexpr int gun_view = 1;
extern View views[2];

// The background picture the frame and the side screens start from; null paints black.
extern Canvas* background_dc;
extern Canvas* bg_bitmap;
extern Canvas* help_bitmap;
extern Canvas* hiscore_bitmap;
extern Canvas* about_bitmap;

constexpr int32_t aim_cube_count = 10;
constexpr int32_t floor_bar_count = 10;
extern Object3D gun_model;
extern Object3D* aim_cubes;
extern Object3D floor_bars[floor_bar_count];
extern float aim_spacing;

// Frames a second, from the last two readings of the clock.
extern int32_t frames_per_second;
