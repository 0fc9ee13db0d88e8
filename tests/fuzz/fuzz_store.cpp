// Fuzzing the loaders of scores.dat and config.dat with any bytes at all: they must take what
// they can without reading or writing out of bounds, and what they took must save and load back
// the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "app/state.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "store/config.h"
#include "store/hiscores.h"
#include "tests/fake/fake_platform.h"

namespace {

void write_bytes(const char* name, const uint8_t* data, size_t size) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where there is such a place: each run saves scores.dat, and a disk's flushes
    // would slow the fuzzing a hundredfold.
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    const auto folder = base / ("zarnok-fuzz-store-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hiscores = builtin_hiscores;
    music_volume = sound_volume = 128;
    write_bytes("scores.dat", data, size);
    write_bytes("config.dat", data, size);
    load_hiscores();
    load_config();

    // The table is the file's bytes as far as the file reaches, and the built-in table beyond.
    // (Its memory holds the file's layout on a little-endian machine such as this one.)
    const auto* table = reinterpret_cast<const uint8_t*>(hiscores.data());
    const auto* builtin = reinterpret_cast<const uint8_t*>(builtin_hiscores.data());
    const size_t held = size < 100 ? size : 100;
    if (std::memcmp(table, data, held) != 0 ||
        std::memcmp(table + held, builtin + held, 100 - held))
        std::abort();
    const auto loaded = hiscores;
    save_hiscores();
    hiscores = builtin_hiscores;
    load_hiscores();
    if (std::memcmp(loaded.data(), hiscores.data(), sizeof loaded) != 0)
        std::abort();

    // Whatever the file held, the table keeps working: a result is offered and placed.
    points = size > 0 ? data[0] * 1000u : 0;
    level = 3;
    accuracy = 50;
    entering_name = 0;
    insert_hiscore();
    if (entering_name && (new_rank < 0 || new_rank >= hiscore_count))
        std::abort();

    const int32_t music = music_volume, sound = sound_volume;
    set_volumes(-1, -1);
    if (music_volume < 0 || music_volume > 255 || sound_volume < 0 || sound_volume > 255)
        std::abort();
    if ((music >= 0 && music <= 255 && music != music_volume) ||
        (sound >= 0 && sound <= 255 && sound != sound_volume))
        std::abort();
    // What the sound calls recorded is let go within the run, which the leak check expects.
    fake::state().log.clear();
    fake::state().log.shrink_to_fit();
    return 0;
}
