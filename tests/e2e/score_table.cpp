// Encoding and decoding scores.dat, little-endian, names zero-terminated in 11 bytes.
#include "tests/e2e/score_table.h"

namespace {

constexpr size_t row_size = 20;

} // namespace

Bytes encode_scores(const ScoreTable& table) {
    Bytes bytes(table.size() * row_size, 0);
    for (size_t i = 0; i < table.size(); ++i) {
        uint8_t* row = &bytes[i * row_size];
        for (size_t k = 0; k < table[i].name.size() && k < 10; ++k)
            row[k] = static_cast<uint8_t>(table[i].name[k]);
        row[11] = table[i].level;
        for (int k = 0; k < 4; ++k) {
            row[12 + k] = static_cast<uint8_t>(table[i].accuracy >> (8 * k));
            row[16 + k] = static_cast<uint8_t>(table[i].points >> (8 * k));
        }
    }
    return bytes;
}

bool decode_scores(const Bytes& bytes, ScoreTable* table) {
    if (bytes.size() != table->size() * row_size)
        return false;
    for (size_t i = 0; i < table->size(); ++i) {
        const uint8_t* row = &bytes[i * row_size];
        ScoreRow& out = (*table)[i];
        out = {"", row[11], 0, 0};
        for (size_t k = 0; k < 11 && row[k] != 0; ++k)
            out.name += static_cast<char>(row[k]);
        for (int k = 3; k >= 0; --k) {
            out.accuracy = (out.accuracy << 8) | row[12 + k];
            out.points = (out.points << 8) | row[16 + k];
        }
    }
    return true;
}

ScoreTable zero_table() {
    ScoreTable table;
    for (int i = 0; i < 5; ++i)
        table[i] = {"Z" + std::to_string(i + 1), 1, 0, 0};
    return table;
}

bool is_builtin_table(const Bytes& bytes) {
    ScoreTable table;
    if (!decode_scores(bytes, &table) || table[0].points != 10000)
        return false;
    const char* names[5] = {"Tibbo", "Rinka", "Gorvin", "Pelly", "Dusko"};
    for (int i = 0; i < 5; ++i)
        if (table[i].name != names[i])
            return false;
    return true;
}
