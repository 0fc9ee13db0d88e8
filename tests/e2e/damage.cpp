// Files made missing, short, long, random, unreadable or a directory.
#include "tests/e2e/damage.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <random>

namespace fs = std::filesystem;

Bytes random_bytes(size_t count, const std::string& seed) {
    std::mt19937 generator(static_cast<uint32_t>(std::hash<std::string>{}(seed)));
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(byte(generator));
    return bytes;
}

bool damage_file(const std::string& path, Damage damage, size_t size, std::string* problem) {
    if (damage == Damage::disk_full) {
        // Every write there fails for want of space.
        std::error_code error;
        fs::create_symlink("/dev/full", path + ".new", error);
        if (error)
            *problem = "cannot link " + path + ".new to /dev/full: " + error.message();
        return !error;
    }
    const auto original = read_bytes(path);
    if (!original) {
        *problem = "no " + path + " to spoil";
        return false;
    }
    const std::string seed = fs::path(path).filename().string() + describe(damage, size);
    std::error_code error;
    bool done = true;
    switch (damage) {
    case Damage::missing:
        done = fs::remove(path, error);
        break;
    case Damage::empty:
        done = write_bytes(path, {});
        break;
    case Damage::half:
        done =
            write_bytes(path, Bytes(original->begin(), original->begin() + original->size() / 2));
        break;
    case Damage::garbage:
        done = write_bytes(path, random_bytes(original->size(), seed));
        break;
    case Damage::first:
        done = write_bytes(
            path, Bytes(original->begin(), original->begin() + std::min(size, original->size())));
        break;
    case Damage::longer: {
        Bytes longer = *original;
        const Bytes tail = random_bytes(size, seed);
        longer.insert(longer.end(), tail.begin(), tail.end());
        done = write_bytes(path, longer);
        break;
    }
    case Damage::unreadable:
        done = chmod(path.c_str(), 0) == 0;
        break;
    case Damage::directory:
        done = fs::remove(path, error) && fs::create_directory(path, error);
        break;
    case Damage::disk_full:
        break;
    }
    if (!done)
        *problem = "cannot make " + path + " " + describe(damage, size);
    return done;
}

std::string describe(Damage damage, size_t size) {
    switch (damage) {
    case Damage::missing:
        return "missing";
    case Damage::empty:
        return "empty";
    case Damage::half:
        return "truncated to its first half";
    case Damage::garbage:
        return "random bytes of its length";
    case Damage::first:
        return "short, its first " + std::to_string(size) + " bytes";
    case Damage::longer:
        return "long, " + std::to_string(size) + " random bytes after its content";
    case Damage::unreadable:
        return "unreadable (mode 000)";
    case Damage::directory:
        return "a directory";
    case Damage::disk_full:
        return "not writable for a full disk (its .new file leads to /dev/full)";
    }
    return "?";
}
