// Little-endian byte appending shared by the BMP, WAV and XM encoders.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

inline void put_u8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
}

inline void put_u16(std::vector<uint8_t>& out, uint32_t value) {
    put_u8(out, value & 0xFF);
    put_u8(out, (value >> 8) & 0xFF);
}

inline void put_u32(std::vector<uint8_t>& out, uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

// Writes text cut or zero-padded to exactly size bytes.
inline void put_text(std::vector<uint8_t>& out, std::string_view text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        put_u8(out, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
}

// Overwrites four bytes at offset, for sizes known only after the data is written.
inline void patch_u32(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}
