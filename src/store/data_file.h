// The game's pictures, samples, module and font, read whole into memory: only regular files of
// a sane size, found in the folder the game runs in or else in the installed data folder.
#pragma once

#include <cstdint>
#include <vector>

// Anything larger is no picture, sound, module or font of this game, but a broken file.
constexpr int64_t largest_data_file = 20 << 20;

// What makes a file's bytes unusable to its loader, in a few words; null when they are fine.
using DataCheck = const char* (*)(const std::vector<uint8_t>& bytes);

// Reads the file at path whole: a bare name from the working folder, where a player's own file
// wins, and when it is not there, or unusable, from the installed data folder; a path with a
// slash from there alone. A file is usable when it is a regular file of at most
// largest_data_file bytes that check (if any) finds no fault with. False when none was found.
// A file that is there but unusable is said once, with why, and whether the installed one
// serves instead; none is opened unless it is a regular file, so nothing here can wait.
bool read_data_file(const char* path, std::vector<uint8_t>* bytes, DataCheck check = nullptr);
// True when the working folder or the installed data folder holds something of that name.
bool data_file_present(const char* name);
