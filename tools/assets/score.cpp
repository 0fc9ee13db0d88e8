// Writing music into patterns: note names, melodies as text, chords and their voicing.
#include "score.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void score_error(const char* what, std::string_view text) {
    std::fprintf(stderr, "zarnok_assets: %s: \"%s\"\n", what, std::string(text).c_str());
    std::abort();
}

} // namespace

int32_t note_number(std::string_view name) {
    // Semitones above C of the letters A to G.
    const int32_t letters[] = {9, 11, 0, 2, 4, 5, 7};
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
        score_error("bad note name", name);
    }
    int32_t pitch_class = letters[name[0] - 'A'];
    size_t position = 1;
    if (name[position] == '#') {
        ++pitch_class;
        ++position;
    }
    if (position + 1 != name.size() || name[position] < '0' || name[position] > '7') {
        score_error("bad note name", name);
    }
    return 1 + 12 * (name[position] - '0') + pitch_class;
}

int32_t nearest_note(int32_t pitch_class, int32_t target) {
    int32_t best = 0;
    for (int32_t note = 1 + pitch_class; note <= 96; note += 12) {
        if (best == 0 || std::abs(note - target) < std::abs(best - target)) {
            best = note;
        }
    }
    return best;
}

void put_note(XmPattern& pattern, int32_t row, int32_t channel, int32_t note, uint8_t instrument,
              int32_t volume) {
    XmCell& cell = cell_at(pattern, row, channel);
    cell.note = static_cast<uint8_t>(note);
    cell.instrument = instrument;
    if (volume >= 0) {
        cell.volume = static_cast<uint8_t>(0x10 + volume);
    }
}

void write_melody(XmPattern& pattern, int32_t channel, int32_t first_row, uint8_t instrument,
                  int32_t volume, std::string_view melody) {
    int32_t row = first_row;
    size_t position = 0;
    while (position < melody.size()) {
        const size_t end = std::min(melody.find(' ', position), melody.size());
        const std::string_view token = melody.substr(position, end - position);
        position = end + 1;
        if (token.empty() || token == "|") {
            continue;
        }
        const size_t colon = token.find(':');
        if (colon == std::string_view::npos) {
            score_error("melody token without a length", token);
        }
        const int32_t rows = std::atoi(std::string(token.substr(colon + 1)).c_str());
        if (rows <= 0 || row + rows > pattern.rows) {
            score_error("melody does not fit the pattern", melody);
        }
        const std::string_view name = token.substr(0, colon);
        if (name == "-") {
            put_note(pattern, row, channel, xm_key_off, 0, -1);
        } else {
            put_note(pattern, row, channel, note_number(name), instrument, volume);
        }
        row += rows;
    }
}
