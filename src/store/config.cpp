// config.dat holds music_volume then sound_volume, each a little-endian signed 32-bit value.
#include "store/config.h"

#include <cstdint>

#include "audio/sound.h"
#include "store/le_bytes.h"
#include "store/whole_file.h"

namespace {

constexpr const char* config_file = "config.dat";
constexpr int config_size = 8;

void encode(uint8_t* bytes) {
    put_le32(bytes, static_cast<uint32_t>(music_volume));
    put_le32(bytes + 4, static_cast<uint32_t>(sound_volume));
}

} // namespace

void load_config() {
    // What the file holds replaces the bytes it reaches; a short file leaves the rest.
    uint8_t bytes[config_size];
    encode(bytes);
    if (read_file_start(config_file, bytes, config_size).state != FileState::read)
        return;
    music_volume = static_cast<int32_t>(get_le32(bytes));
    sound_volume = static_cast<int32_t>(get_le32(bytes + 4));
}

void save_config() {
    uint8_t bytes[config_size];
    encode(bytes);
    write_whole_file(config_file, bytes, config_size);
}
