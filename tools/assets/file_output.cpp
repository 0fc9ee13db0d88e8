// Writing a generated asset to disk.
#include "file_output.h"

#include <cstdio>

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "zarnok_assets: cannot create %s\n", path.c_str());
        return false;
    }
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed) {
        std::fprintf(stderr, "zarnok_assets: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
