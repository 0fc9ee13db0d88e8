// Reading the generated game data in tests: paths, whole files, little-endian fields.
#include "asset_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string data_path(const std::string& name) {
    return std::string(ASSET_DATA_DIR) + "/" + name;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    uint8_t buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    std::fclose(file);
    return bytes;
}

uint32_t read_u16(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 2 > bytes.size()) {
        return 0;
    }
    return bytes[offset] | (static_cast<uint32_t>(bytes[offset + 1]) << 8);
}

uint32_t read_u32(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) {
        return 0;
    }
    return read_u16(bytes, offset) | (read_u16(bytes, offset + 2) << 16);
}

std::string read_text(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    if (offset + size > bytes.size()) {
        return {};
    }
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

std::string make_temp_dir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zarnok_assets_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}
