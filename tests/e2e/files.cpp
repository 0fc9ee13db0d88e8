// Working directories and whole files.
#include "tests/e2e/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

const char* const game_data_files[8] = {"bg.bmp",  "f1bg.bmp",    "hiscbg.bmp", "nfobg.bmp",
                                        "gun.wav", "explode.wav", "yeah.wav",   "supera29.xm"};

std::string make_work_dir(const std::string& label) {
    std::error_code error;
    std::string pattern =
        (fs::temp_directory_path(error) / ("zarnok_e2e_" + label + "_XXXXXX")).string();
    return !error && mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

bool copy_game_data(const std::string& from_dir, const std::string& to_dir, std::string* problem) {
    for (const char* name : game_data_files) {
        std::error_code error;
        const fs::path from = fs::path(from_dir) / name;
        fs::copy_file(from, fs::path(to_dir) / name, fs::copy_options::overwrite_existing, error);
        if (error) {
            *problem = "cannot copy " + from.string() + ": " + error.message();
            return false;
        }
    }
    return true;
}

void remove_tree(const std::string& dir) {
    std::error_code error;
    fs::remove_all(dir, error);
    if (!error)
        return;
    // A test may have taken the write permission away from a directory of it.
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error))
        if (it->is_directory(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(dir, error);
}

std::optional<Bytes> read_bytes(const std::string& path) {
    // Plain reads: a stream would throw on a directory.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    Bytes bytes;
    uint8_t buffer[65536];
    ssize_t n = 0;
    // A limit, for a file that is a link to a device without end.
    constexpr size_t most = 4 << 20;
    while (bytes.size() < most && (n = read(fd, buffer, sizeof buffer)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    close(fd);
    if (n < 0)
        return std::nullopt;
    return bytes;
}

bool write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool file_exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string hex_bytes(const Bytes& bytes) {
    std::string text;
    char part[4];
    // Enough for the game's files of volumes and scores; more only lengthens a message.
    constexpr size_t most = 4096;
    for (size_t i = 0; i < bytes.size() && i < most; ++i) {
        std::snprintf(part, sizeof part, i == 0 ? "%02x" : " %02x", bytes[i]);
        text += part;
    }
    if (bytes.size() > most)
        text += " ... (" + std::to_string(bytes.size()) + " bytes)";
    return text;
}

std::string file_hex(const std::string& path) {
    const auto bytes = read_bytes(path);
    return bytes ? hex_bytes(*bytes) : "(cannot read " + path + ")";
}
