// config.dat: the music and effects volumes, kept from one run to the next.
#pragma once

#include <cstdint>

struct Volumes {
    int32_t music, sound;
};

// Set when config.dat exists but cannot be read: it is then never replaced in this run.
extern bool config_file_kept;

// The volumes config.dat holds replace those given, each brought within 0 to 255; a file missing
// or cut short leaves the rest.
void load_config(Volumes* volumes);
void save_config(const Volumes& volumes);
