// Writing a generated asset to disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False (with a message on stderr) when the file cannot be written completely.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);
