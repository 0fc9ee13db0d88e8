// Reading the generated game data in tests: paths, whole files, little-endian fields.
#include "asset_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string data_path(const std::string& name) {
    return std::string(ASSET_DATA_DIR) + "/" + name;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t read_u16(const std::vector<uint8_t>& bytes, size_t offset) {
    return offset + 2 > bytes.size() ? 0 : bytes[offset] | (uint32_t{bytes[offset + 1]} << 8);
}

uint32_t read_u32(const std::vector<uint8_t>& bytes, size_t offset) {
    return offset + 4 > bytes.size()
               ? 0
               : read_u16(bytes, offset) | (read_u16(bytes, offset + 2) << 16);
}

std::string read_text(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    return offset + size > bytes.size()
               ? std::string()
               : std::string(bytes.begin() + offset, bytes.begin() + offset + size);
}

std::string make_temp_dir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zarnok_assets_XXXXXX").string();
    return mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
}
