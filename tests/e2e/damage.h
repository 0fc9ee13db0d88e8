// Spoiling a file of the game's working directory in the ways a player's disk or hands might.
#pragma once

#include <cstddef>
#include <string>

enum class Damage {
    missing,
    empty,
    half,       // the first half of the file
    garbage,    // random bytes, as many as the file had
    first,      // the first `size` bytes
    longer,     // the file, then `size` random bytes
    unreadable, // mode 000
    directory,  // an empty directory in its place
    disk_full,  // the file stays; NAME.new, where the game writes it first, leads to /dev/full
};

// Spoils the file in place. The random bytes come from a generator seeded with the file's name
// and the damage, so that a failure can be repeated.
bool damage_file(const std::string& path, Damage damage, size_t size, std::string* problem);

// "missing", "short, its first 100 bytes", "a directory", ...
std::string describe(Damage damage, size_t size);
