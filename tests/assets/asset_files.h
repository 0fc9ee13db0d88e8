// Reading the generated game data in tests: paths, whole files, little-endian fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The data directory the build filled.
std::string data_path(const std::string& name);

// The whole file; empty when it cannot be read.
std::vector<uint8_t> read_bytes(const std::string& path);

// Little-endian fields; zero past the end, so a truncated file fails the checks, not the test run.
uint32_t read_u16(const std::vector<uint8_t>& bytes, size_t offset);
uint32_t read_u32(const std::vector<uint8_t>& bytes, size_t offset);
std::string read_text(const std::vector<uint8_t>& bytes, size_t offset, size_t size);

// A fresh empty directory under the system's temporary directory.
std::string make_temp_dir();
