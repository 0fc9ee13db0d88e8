// A fixed, busy moment of play: level 10, 30 targets, 10 shots, 300 particles, floor and aim line.
#pragma once

// Starts the game on SDL's dummy drivers in a scratch folder and fills the scene. False when
// the game cannot start.
bool set_up_heavy_scene();
