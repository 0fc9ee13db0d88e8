// The game's pictures, samples, module and font, read whole into memory: only regular files of
// a sane size.
#pragma once

#include <cstdint>
#include <vector>

// Anything larger is no picture, sound, module or font of this game, but a broken file.
constexpr int64_t largest_data_file = 32 << 20;

// Reads the file at path whole. False when it is missing or is no regular file of at most
// largest_data_file bytes; such a file is said once on stderr, and never opened unless it is a
// regular file, so nothing here can wait.
bool read_data_file(const char* path, std::vector<uint8_t>* bytes);
