// Aiming like a player who knows the game's geometry: where the aim line shows for a pointer
// position, and which pointer position makes a shot meet a target.
#pragma once

#include <optional>
#include <vector>

struct ViewPoint {
    double x = 0, y = 0;
};

// Where the ten aim-line cubes show for a pointer position, nearest first.
std::vector<ViewPoint> aim_line_points(int mouse_x, int mouse_y);

struct AimPlan {
    int mouse_x = 0, mouse_y = 0;
    double margin = 0; // units to spare on the tightest axis, at the worst assumed timing
};

// The best pointer position for a shot at a level-1 target seen at `seen`, fired about
// `delay_ticks` 10 ms ticks after the picture was taken; none when no position reaches it.
std::optional<AimPlan> plan_shot(ViewPoint seen, double delay_ticks);
