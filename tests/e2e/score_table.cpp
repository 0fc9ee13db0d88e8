// Encoding and decoding scores.dat, little-endian, names zero-terminated in 11 bytes.
#include "tests/e2e/score_table.h"

namespace {

constexpr size_t row_size = 20;

void put_u32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t get_u32(const Bytes& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[at + i];
    return value;
}

} // namespace

Bytes encode_scores(const ScoreTable& table) {
    Bytes bytes(score_file_size, 0);
    for (size_t i = 0; i < table.size(); ++i) {
        const size_t at = i * row_size;
        for (size_t k = 0; k < table[i].name.size() && k < 10; ++k)
            bytes[at + k] = static_cast<uint8_t>(table[i].name[k]);
        bytes[at + 11] = table[i].level;
        put_u32(bytes, at + 12, table[i].accuracy);
        put_u32(bytes, at + 16, table[i].points);
    }
    return bytes;
}

bool decode_scores(const Bytes& bytes, ScoreTable* table) {
    if (bytes.size() != score_file_size)
        return false;
    for (size_t i = 0; i < table->size(); ++i) {
        const size_t at = i * row_size;
        ScoreRow& row = (*table)[i];
        row.name.clear();
        for (size_t k = 0; k < 11 && bytes[at + k] != 0; ++k)
            row.name += static_cast<char>(bytes[at + k]);
        row.level = bytes[at + 11];
        row.accuracy = get_u32(bytes, at + 12);
        row.points = get_u32(bytes, at + 16);
    }
    return true;
}
