// config.dat holds music_volume then sound_volume, each a little-endian signed 32-bit value.
#include "store/config.h"

#include <algorithm>
#include <cstdint>

#include "store/file_names.h"
#include "store/le_bytes.h"
#include "store/whole_file.h"

namespace {

constexpr int config_size = 8;

void encode(uint8_t* bytes, const Volumes& volumes) {
    put_le32(bytes, static_cast<uint32_t>(volumes.music));
    put_le32(bytes + 4, static_cast<uint32_t>(volumes.sound));
}

} // namespace

bool config_file_kept = false;

void load_config(Volumes* volumes) {
    // What the file holds replaces the bytes it reaches; a short file leaves the rest.
    uint8_t bytes[config_size];
    encode(bytes, *volumes);
    const FileRead file = read_file_start(config_file, bytes, config_size);
    if (file.state == FileState::unreadable) {
        // Like scores.dat: one the player keeps but the game may not read is never replaced.
        config_file_kept = true;
        say_kept(config_file, file.error, "volumes");
    }
    if (file.state != FileState::read)
        return;
    // A volume out of the game's range, written by hand or by another program, is brought
    // into it: the game plays, records and saves it so.
    volumes->music = std::clamp(static_cast<int32_t>(get_le32(bytes)), 0, 255);
    volumes->sound = std::clamp(static_cast<int32_t>(get_le32(bytes + 4)), 0, 255);
}

void save_config(const Volumes& volumes) {
    if (config_file_kept)
        return;
    uint8_t bytes[config_size];
    encode(bytes, volumes);
    write_whole_file(config_file, bytes, config_size);
}
