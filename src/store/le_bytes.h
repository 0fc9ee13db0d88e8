// Little-endian 16- and 32-bit values in byte buffers, as the game's files store them.
#pragma once

#include <cstdint>

inline uint32_t get_le16(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8);
}

inline void put_le32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t get_le32(const uint8_t* bytes) {
    return get_le16(bytes) | (get_le16(bytes + 2) << 16);
}
