// A steady player for long runs and tests: picks the target nearest to escaping and turns the
// gun so that a shot fired now meets it.
#pragma once

#include "game/entities.h"

// The live target lowest in the field, or null.
const Target* lowest_target();

// Turns the gun so that a shot fired now meets the target, if such an aim exists.
bool aim_at(const Target& target);
