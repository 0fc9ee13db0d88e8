// The scene passes of the main view: prepare (turn and project) and paint each kind of box.
#pragma once

// Recolours, spins, places and projects the ten cubes of the aim line.
void update_aim_line();
void prepare_targets();
void prepare_shots();
void prepare_particles();

void draw_aim_line();
void draw_targets();
void draw_shots();
void draw_particles();
