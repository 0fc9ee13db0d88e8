// The hi-score table and scores.dat that keeps it.
#include "store/hiscores.h"

#include <cstring>

#include "store/file_names.h"
#include "store/le_bytes.h"
#include "store/whole_file.h"

const std::array<HiScore, hiscore_count> builtin_hiscores = {{
    {"Tibbo", 5, 100, 10000},
    {"Rinka", 4, 85, 8000},
    {"Gorvin", 3, 60, 6000},
    {"Pelly", 2, 30, 4000},
    {"Dusko", 1, 1, 100},
}};
std::array<HiScore, hiscore_count> hiscores = builtin_hiscores;
bool scores_file_kept = false;

namespace {

constexpr int record_size = 20;

} // namespace

void encode_hiscores(uint8_t* bytes) {
    for (int i = 0; i < hiscore_count; ++i) {
        uint8_t* record = bytes + i * record_size;
        std::memcpy(record, hiscores[i].name, 11);
        record[11] = hiscores[i].level;
        put_le32(record + 12, hiscores[i].accuracy);
        put_le32(record + 16, hiscores[i].points);
    }
}

void decode_hiscores(const uint8_t* bytes) {
    for (int i = 0; i < hiscore_count; ++i) {
        const uint8_t* record = bytes + i * record_size;
        std::memcpy(hiscores[i].name, record, 11);
        hiscores[i].level = record[11];
        hiscores[i].accuracy = get_le32(record + 12);
        hiscores[i].points = get_le32(record + 16);
    }
}

void load_hiscores() {
    // A short file replaces only the bytes it holds; nothing in it is checked.
    uint8_t bytes[hiscores_file_size];
    encode_hiscores(bytes);
    const FileRead file = read_file_start(scores_file, bytes, hiscores_file_size);
    if (file.state == FileState::missing) {
        save_hiscores();
    } else if (file.state == FileState::unreadable) {
        // The player's rows may still be in it: the built-in table plays, and never replaces it.
        scores_file_kept = true;
        say_kept(scores_file, file.error, "hi-scores");
    } else {
        decode_hiscores(bytes);
    }
}

bool save_hiscores() {
    if (scores_file_kept)
        return false;
    uint8_t bytes[hiscores_file_size];
    encode_hiscores(bytes);
    return write_whole_file(scores_file, bytes, hiscores_file_size);
}
