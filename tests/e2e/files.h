// Files of a test: its own working directory with the game's data, and whole-file reads and
// writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The eight files the game reads from its working directory.
extern const char* const game_data_files[8];

// A fresh directory under the system's temporary directory, its name starting with the
// given label; empty on failure.
std::string make_work_dir(const std::string& label);
bool copy_game_data(const std::string& from_dir, const std::string& to_dir, std::string* problem);
void remove_tree(const std::string& dir);

std::optional<Bytes> read_bytes(const std::string& path);
bool write_bytes(const std::string& path, const Bytes& bytes);
bool file_exists(const std::string& path);

// "80 00 00 00 ...", the first 4096 bytes and the size after them if there are more.
std::string hex_bytes(const Bytes& bytes);
// The file's bytes in hex, or "(cannot read PATH)".
std::string file_hex(const std::string& path);
