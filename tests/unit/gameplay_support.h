// Helpers for the gameplay tests: placing entities, failing allocations, checking the lists,
// and aiming the gun at a target as a steady player would.
#pragma once

#include <cstdint>

#include "game/entities.h"

// While set, nothrow allocations fail (as when memory runs out).
extern bool fail_nothrow_allocations;

Target* add_target(float x, float y, float z, float fall = 0.0f);

// The number of records in a list; fails the running test when its links disagree.
template <typename Record> int32_t checked_length(const RecordList<Record>& list);

// Turns the gun so that a shot fired now meets the target, if such an aim exists.
bool aim_at(const Target& target);
