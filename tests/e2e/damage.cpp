// Files made missing, short, long, random, unreadable or a directory.
#include "tests/e2e/damage.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <random>

#include "tests/e2e/files.h"

namespace fs = std::filesystem;

namespace {

Bytes random_bytes(size_t count, const std::string& seed) {
    std::mt19937 generator(static_cast<uint32_t>(std::hash<std::string>{}(seed)));
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(byte(generator));
    return bytes;
}

} // namespace

bool damage_file(const std::string& path, Damage damage, size_t size, std::string* problem) {
    std::error_code error;
    bool done = false;
    const auto original = read_bytes(path);
    const std::string seed = fs::path(path).filename().string() + describe(damage, size);
    if (damage == Damage::disk_full) {
        // Every write there fails for want of space.
        fs::create_symlink("/dev/full", path + ".new", error);
        done = !error;
    } else if (!original) {
        *problem = "no " + path + " to spoil";
        return false;
    } else if (damage == Damage::missing) {
        done = fs::remove(path, error);
    } else if (damage == Damage::unreadable) {
        done = chmod(path.c_str(), 0) == 0;
    } else if (damage == Damage::directory) {
        done = fs::remove(path, error) && fs::create_directory(path, error);
    } else {
        Bytes bytes = damage == Damage::garbage ? random_bytes(original->size(), seed) : *original;
        if (damage == Damage::empty || damage == Damage::half || damage == Damage::first)
            bytes.resize(damage == Damage::empty  ? 0
                         : damage == Damage::half ? bytes.size() / 2
                                                  : std::min(size, bytes.size()));
        if (damage == Damage::longer) {
            const Bytes tail = random_bytes(size, seed);
            bytes.insert(bytes.end(), tail.begin(), tail.end());
        }
        done = write_bytes(path, bytes);
    }
    if (!done)
        *problem = "cannot make " + path + " " + describe(damage, size) + " " + error.message();
    return done;
}

std::string describe(Damage damage, size_t size) {
    const std::string bytes = std::to_string(size);
    const std::string words[] = {"missing",
                                 "empty",
                                 "truncated to its first half",
                                 "random bytes of its length",
                                 "short, its first " + bytes + " bytes",
                                 "long, " + bytes + " random bytes after its content",
                                 "unreadable (mode 000)",
                                 "a directory",
                                 "not writable for a full disk (its .new file leads to /dev/full)"};
    return words[static_cast<int>(damage)];
}
