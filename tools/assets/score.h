// Writing music into patterns: note names, melodies as text, chords and their voicing.
#pragma once

#include <cstdint>
#include <string_view>

#include "xm_writer.h"

// The note number of a name like "A4", "C#5" or "G#4" (C4 = 49); stops the generator on a
// malformed name, as that is a mistake in the score.
int32_t note_number(std::string_view name);

// A chord as three pitch classes (C = 0 ... B = 11).
struct Chord {
    int32_t root;
    int32_t third;
    int32_t fifth;
};

// The note of the given pitch class closest to target.
int32_t nearest_note(int32_t pitch_class, int32_t target);

// Puts a note (with its volume column when volume >= 0) into a cell.
void put_note(XmPattern& pattern, int32_t row, int32_t channel, int32_t note, uint8_t instrument,
              int32_t volume);

// Writes a melody from first_row on. The melody is space-separated "NOTE:ROWS" tokens, "-:ROWS"
// being a rest; bars may be separated by "|" for reading. Stops the generator when it does not
// fit the pattern.
void write_melody(XmPattern& pattern, int32_t channel, int32_t first_row, uint8_t instrument,
                  int32_t volume, std::string_view melody);
