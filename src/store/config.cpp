// config.dat holds music_volume then sound_volume, each a little-endian signed 32-bit value.
#include "store/config.h"

#include <cstdint>

#include "audio/sound.h"
#include "store/file_names.h"
#include "store/le_bytes.h"
#include "store/whole_file.h"

namespace {

constexpr int config_size = 8;

void encode(uint8_t* bytes) {
    put_le32(bytes, static_cast<uint32_t>(music_volume));
    put_le32(bytes + 4, static_cast<uint32_t>(sound_volume));
}

} // namespace

bool config_file_kept = false;

void load_config() {
    // What the file holds replaces the bytes it reaches; a short file leaves the rest.
    uint8_t bytes[config_size];
    encode(bytes);
    const FileRead file = read_file_start(config_file, bytes, config_size);
    if (file.state == FileState::unreadable) {
        // Like scores.dat: one the player keeps but the game may not read is never replaced.
        config_file_kept = true;
        say_kept(config_file, file.error, "volumes");
    }
    if (file.state != FileState::read)
        return;
    music_volume = static_cast<int32_t>(get_le32(bytes));
    sound_volume = static_cast<int32_t>(get_le32(bytes + 4));
}

void save_config() {
    if (config_file_kept)
        return;
    uint8_t bytes[config_size];
    encode(bytes);
    write_whole_file(config_file, bytes, config_size);
}
