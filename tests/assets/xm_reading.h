// An independent reader of the music module's header and patterns, to check what the generator
// wrote; the instruments are left to the players.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_files.h"

struct ModuleCell {
    uint8_t note;
    uint8_t instrument;
    uint8_t volume;
    uint8_t effect;
    uint8_t parameter;
};

struct ModulePattern {
    uint32_t rows;
    std::vector<ModuleCell> cells; // row by row, channels across
};

struct ModuleLayout {
    bool valid = false;
    std::string error;
    uint32_t header_size = 0;
    uint32_t song_length = 0;
    uint32_t channels = 0;
    uint32_t speed = 0;
    uint32_t bpm = 0;
    uint32_t instruments = 0;
    std::vector<uint8_t> order;
    std::vector<ModulePattern> patterns;
};

ModuleLayout read_module_layout(const std::vector<uint8_t>& bytes);
