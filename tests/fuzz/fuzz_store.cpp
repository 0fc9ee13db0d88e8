// Fuzzing the loaders of scores.dat and config.dat with any bytes at all: they take what they
// can without reading or writing out of bounds, the table is the file's bytes as far as the file
// reaches and the built-in table beyond, it saves and loads back the same, and it keeps working.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "audio/sound.h"
#include "game/entities.h"
#include "store/config.h"
#include "store/hiscores.h"
#include "tests/fake/fake_platform.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory: each run saves scores.dat, and a disk's flushes would slow it a hundredfold.
    const auto folder = "/dev/shm/zarnok-fuzz-store-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* name : {"scores.dat", "config.dat"})
        std::ofstream(name, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    hiscores = builtin_hiscores;
    load_hiscores();
    load_config();
    const size_t held = size < 100 ? size : 100;
    const auto* table = reinterpret_cast<const uint8_t*>(hiscores.data());
    if (std::memcmp(table, data, held) != 0 ||
        std::memcmp(table + held, reinterpret_cast<const uint8_t*>(builtin_hiscores.data()) + held,
                    100 - held) != 0)
        std::abort();
    const auto loaded = hiscores;
    save_hiscores();
    hiscores = builtin_hiscores;
    load_hiscores();
    if (std::memcmp(loaded.data(), hiscores.data(), sizeof loaded) != 0)
        std::abort();
    points = size > 0 ? data[0] * 1000u : 0;
    entering_name = 0;
    insert_hiscore();
    set_volumes(-1, -1);
    if ((entering_name && (new_rank < 0 || new_rank >= hiscore_count)) || music_volume < 0 ||
        music_volume > 255 || sound_volume < 0 || sound_volume > 255)
        std::abort();
    // What the sound calls recorded is let go within the run, as the leak check expects.
    std::vector<std::string>().swap(fake::state().log);
    return 0;
}
