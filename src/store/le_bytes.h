// Little-endian 32- and 64-bit values in byte buffers, as the game's files store them.
#pragma once

#include <cstdint>

inline void put_le32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t get_le32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

inline void put_le64(uint8_t* bytes, uint64_t value) {
    put_le32(bytes, static_cast<uint32_t>(value));
    put_le32(bytes + 4, static_cast<uint32_t>(value >> 32));
}

inline uint64_t get_le64(const uint8_t* bytes) {
    return get_le32(bytes) | (static_cast<uint64_t>(get_le32(bytes + 4)) << 32);
}
