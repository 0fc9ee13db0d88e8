// Spoiling a file of the game's working directory in the ways a player's disk or hands might.
#pragma once

#include <cstddef>
#include <string>

#include "tests/e2e/files.h"

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

// Spoils the file in place. The random bytes come from a generator seeded with the path's
// file name, so that a failure can be repeated.
bool damage_file(const std::string& path, Damage damage, size_t size, std::string* problem);

// "missing", "truncated to 50 of 100 bytes", "a directory", ...
std::string describe(Damage damage, size_t size);

// Random bytes from a generator seeded with the text.
Bytes random_bytes(size_t count, const std::string& seed);
