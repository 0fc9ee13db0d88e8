// Aiming like a player who knows the game's geometry: where things show in the view, where a
// shot flies for a pointer position, and which pointer position makes a shot meet a target.
#pragma once

#include <optional>
#include <vector>

// A point in the game's world: x right, y down, z towards the player; the view's eye is at
// (200, 200, 50) looking at the plane z = 0.
struct WorldPoint {
    double x = 0, y = 0, z = 0;
};

struct ViewPoint {
    double x = 0, y = 0;
};

ViewPoint project_to_view(WorldPoint p);

// A level-1 target lies at depth -50: its place in the world from where it shows.
WorldPoint level1_target_at(ViewPoint seen);

// The shot's velocity per 10 ms tick for a pointer position in the view (the gun turns 0.4
// degree per pixel from the view's centre).
WorldPoint shot_velocity(int mouse_x, int mouse_y);

// Where the ten aim-line cubes show for a pointer position, nearest first.
std::vector<ViewPoint> aim_line_points(int mouse_x, int mouse_y);

struct AimPlan {
    int mouse_x = 0, mouse_y = 0;
    double margin = 0; // units to spare on the tightest axis, at the worst assumed timing
    int hit_tick = 0;  // ticks after firing when the shot is deepest inside the target
};

// The best pointer position for a shot at a level-1 target seen at `seen`, fired about
// `delay_ticks` after the picture was taken; none when no position reaches it.
std::optional<AimPlan> plan_shot(ViewPoint seen, double delay_ticks);
