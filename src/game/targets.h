// Targets: red cubes that appear at the top, fall and tumble, and end the game when one escapes.
#pragma once

// One tick: the spawn attempt, then every target moves, tumbles and is tested for escape.
void update_targets();
void spawn_target();
