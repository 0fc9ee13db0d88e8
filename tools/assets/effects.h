// The game's three sound effects, as mono samples in [-1, 1] at effect_rate.
#pragma once

#include <cstdint>

#include "synth.h"

constexpr int32_t effect_rate = 44100;

// A shot: a noise crack over a falling pitched click, gone in a fifth of a second.
Samples make_gun_sound();
// A cube bursting: a crack, then low-passed noise and a rumble dying away.
Samples make_explosion_sound();
// The level-up jingle: a quick rising arpeggio ringing out on the top note.
Samples make_level_up_sound();
