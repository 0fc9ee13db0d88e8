// The bytes of scores.dat: five 20-byte rows of name, level, accuracy and points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tests/e2e/files.h"

struct ScoreRow {
    std::string name; // at most 10 characters
    uint8_t level = 0;
    uint32_t accuracy = 0; // the low byte is the percentage
    uint32_t points = 0;
};

using ScoreTable = std::array<ScoreRow, 5>;

Bytes encode_scores(const ScoreTable& table);
// Reads a 100-byte file; false for any other size.
bool decode_scores(const Bytes& bytes, ScoreTable* table);

// Five rows of 0 points under short names Z1 to Z5: any score above 0 ranks first.
ScoreTable zero_table();
// The table the game writes when it finds none: Tibbo first with 10000 points, then Rinka,
// Gorvin, Pelly and Dusko.
bool is_builtin_table(const Bytes& bytes);
