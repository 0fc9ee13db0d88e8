// Helpers for the gameplay tests: placing entities, failing allocations, checking the lists.
#pragma once

#include <cstdint>

#include "game/entities.h"

// While set, nothrow allocations fail (as when memory runs out).
extern bool fail_nothrow_allocations;

Target* add_target(float x, float y, float z, float fall = 0.0f);

// The number of records in a list; fails the running test when its links disagree.
template <typename Record> int32_t checked_length(const RecordList<Record>& list);
