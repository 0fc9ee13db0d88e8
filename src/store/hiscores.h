// The five best results, best first, and scores.dat that keeps them.
#pragma once

#include <array>
#include <cstdint>

// Laid out as in scores.dat: 20 bytes, no padding.
struct HiScore {
    char name[11]; // ends at its first zero byte; 11 bytes without one are the whole name
    uint8_t level;
    uint32_t accuracy; // only the low byte is written by the game; it is the percentage
    uint32_t points;
};
static_assert(sizeof(HiScore) == 20);

constexpr int32_t hiscore_count = 5;
constexpr int32_t hiscores_file_size = 20 * hiscore_count;
// The table a first run starts from.
extern const std::array<HiScore, hiscore_count> builtin_hiscores;
extern std::array<HiScore, hiscore_count> hiscores;
// Set when scores.dat exists but cannot be read: it is then never replaced in this run.
extern bool scores_file_kept;

void load_hiscores();
// False when the table was not written (scores.dat kept as it is, or the save failed).
bool save_hiscores();
// The table as scores.dat holds it, and back.
void encode_hiscores(uint8_t* bytes);
void decode_hiscores(const uint8_t* bytes);
