// The game's music: "Supera", in A minor at 128 BPM, eight channels, about a minute and a half.
// It runs intro, build, verse and turn twice, bridge, breakdown, build, verse, turn and outro,
// then stops at full strength: the order list never jumps back, so the player reports the end
// of the song and the game starts it again, the last chord running straight into the intro.
#include "music.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "instruments.h"
#include "score.h"

namespace {

constexpr int32_t rows = 64;
constexpr int32_t bar = 16; // rows a bar: four beats of four rows

enum Channel : int32_t {
    kick_channel,
    snare_channel,
    hat_channel,
    bass_channel,
    lead_channel,
    pad_low_channel,
    pad_high_channel,
    pluck_channel,
    channel_count
};

// 1-based, in the order compose_music adds them.
enum Instrument : uint8_t {
    kick_instrument = 1,
    snare_instrument,
    closed_hat_instrument,
    open_hat_instrument,
    bass_instrument,
    lead_instrument,
    pad_instrument,
    pluck_instrument
};

const Chord a_minor{9, 0, 4};
const Chord d_minor{2, 5, 9};
const Chord f_major{5, 9, 0};
const Chord c_major{0, 4, 7};
const Chord g_major{7, 11, 2};
const Chord e_major{4, 8, 11}; // the G sharp pulls back home to A minor

// One chord a bar.
using Progression = std::array<Chord, 4>;
const Progression verse_chords{a_minor, f_major, c_major, g_major};
const Progression turn_chords{a_minor, f_major, g_major, e_major};
const Progression bridge_chords{d_minor, a_minor, f_major, e_major};
const Progression outro_chords{a_minor, f_major, e_major, a_minor};

// hats: hats alone; full: kick, snare and hats; full_with_fill: a snare roll in the last bar;
// open: open hats on the off-beats, for the bridge.
enum class Drums { hats, full, full_with_fill, open };

void add_drums(XmPattern& pattern, Drums style) {
    for (int32_t row = 0; row < rows; ++row) {
        const int32_t in_bar = row % bar;
        const bool fill = style == Drums::full_with_fill && row >= 3 * bar;
        if (style != Drums::hats && in_bar % 4 == 0) {
            put_note(pattern, row, kick_channel, note_number("C4"), kick_instrument, 56);
        }
        const bool backbeat = in_bar == 4 || in_bar == 12;
        if (fill) {
            // A snare roll that speeds up and swells into the next section.
            const int32_t step = row < 3 * bar + 8 ? 4 : (row < 3 * bar + 12 ? 2 : 1);
            if ((row - 3 * bar) % step == 0) {
                put_note(pattern, row, snare_channel, note_number("C4"), snare_instrument,
                         24 + (row - 3 * bar) * 2);
            }
        } else if (style != Drums::hats && backbeat) {
            put_note(pattern, row, snare_channel, note_number("C4"), snare_instrument, 56);
        }
        if (style == Drums::open && in_bar % 4 == 2) {
            put_note(pattern, row, hat_channel, note_number("C4"), open_hat_instrument, 30);
        } else if (in_bar == 14 && style != Drums::hats) {
            put_note(pattern, row, hat_channel, note_number("C4"), open_hat_instrument, 34);
        } else if (in_bar % 2 == 0) {
            put_note(pattern, row, hat_channel, note_number("C4"), closed_hat_instrument,
                     in_bar % 4 == 2 ? 50 : 34);
        } else if (style != Drums::hats) {
            put_note(pattern, row, hat_channel, note_number("C4"), closed_hat_instrument, 20);
        }
    }
}

int32_t bass_root(const Chord& chord) {
    return nearest_note(chord.root, note_number("A2"));
}

// Staccato eighths on the root with octave jumps: the engine of the tune.
void add_driving_bass(XmPattern& pattern, const Progression& chords) {
    // Offsets from the root for the eight eighths of a bar.
    const int32_t figure[8] = {0, 0, 12, 0, 0, 12, 0, 7};
    for (int32_t b = 0; b < 4; ++b) {
        const int32_t root = bass_root(chords[static_cast<size_t>(b)]);
        for (int32_t eighth = 0; eighth < 8; ++eighth) {
            const int32_t row = b * bar + eighth * 2;
            put_note(pattern, row, bass_channel, root + figure[eighth], bass_instrument,
                     eighth == 0 ? 54 : 42);
            put_note(pattern, row + 1, bass_channel, xm_key_off, 0, -1);
        }
    }
}

// One long note a bar, for the quiet sections.
void add_held_bass(XmPattern& pattern, const Progression& chords, int32_t volume) {
    for (int32_t b = 0; b < 4; ++b) {
        put_note(pattern, b * bar, bass_channel, bass_root(chords[static_cast<size_t>(b)]),
                 bass_instrument, volume);
    }
}

// The two pad voices move to the nearest tone of each new chord, so the harmony glides instead
// of jumping; the bass supplies the root.
struct PadVoices {
    int32_t low;
    int32_t high;
};

int32_t next_voice(int32_t pitch_class, int32_t previous, int32_t centre) {
    // Close to the previous note, but pulled gently towards the middle of the register.
    int32_t best = 0;
    int32_t best_cost = 0;
    for (int32_t note = 1 + pitch_class; note <= 96; note += 12) {
        const int32_t cost = 3 * std::abs(note - previous) + std::abs(note - centre);
        if (best == 0 || cost < best_cost) {
            best = note;
            best_cost = cost;
        }
    }
    return best;
}

void add_pads(XmPattern& pattern, const Progression& chords, PadVoices& voices,
              const std::array<int32_t, 4>& volumes) {
    for (int32_t b = 0; b < 4; ++b) {
        const Chord& chord = chords[static_cast<size_t>(b)];
        voices.low = next_voice(chord.third, voices.low, note_number("C4"));
        voices.high = next_voice(chord.fifth, voices.high, note_number("G4"));
        if (voices.high <= voices.low) {
            voices.high += 12;
        }
        const int32_t volume = volumes[static_cast<size_t>(b)];
        put_note(pattern, b * bar, pad_low_channel, voices.low, pad_instrument, volume);
        put_note(pattern, b * bar, pad_high_channel, voices.high, pad_instrument, volume);
    }
}

// Chord tones rising and falling over two octaves around C5, one every step rows.
void add_arpeggio(XmPattern& pattern, const Progression& chords, int32_t step, int32_t volume) {
    const int32_t sequence[] = {0, 1, 2, 3, 4, 3, 2, 1};
    for (int32_t b = 0; b < 4; ++b) {
        const Chord& chord = chords[static_cast<size_t>(b)];
        const int32_t root = nearest_note(chord.root, note_number("A4"));
        const int32_t tones[5] = {root, nearest_note(chord.third, root + 4),
                                  nearest_note(chord.fifth, root + 7), root + 12,
                                  nearest_note(chord.third, root + 16)};
        int32_t index = 0;
        for (int32_t row = b * bar; row < (b + 1) * bar; row += step) {
            const int32_t accent = (row % 4 == 0) ? 0 : -10;
            put_note(pattern, row, pluck_channel, tones[sequence[index % 8]], pluck_instrument,
                     volume + accent);
            ++index;
        }
    }
}

constexpr int32_t lead_volume = 58;

XmPattern intro_pattern(PadVoices& voices) {
    XmPattern pattern = make_pattern(rows, channel_count);
    add_pads(pattern, verse_chords, voices, {20, 28, 36, 44});
    add_arpeggio(pattern, verse_chords, 2, 30);
    add_held_bass(pattern, verse_chords, 36);
    // Hats creep in for the last two bars.
    XmPattern drums = make_pattern(rows, channel_count);
    add_drums(drums, Drums::hats);
    for (int32_t row = 2 * bar; row < rows; ++row) {
        cell_at(pattern, row, hat_channel) = cell_at(drums, row, hat_channel);
    }
    return pattern;
}

XmPattern build_pattern(PadVoices& voices) {
    XmPattern pattern = make_pattern(rows, channel_count);
    add_drums(pattern, Drums::full_with_fill);
    // No snare before the fill: just the kick pushing.
    for (int32_t row = 0; row < 3 * bar; ++row) {
        cell_at(pattern, row, snare_channel) = XmCell{};
    }
    add_driving_bass(pattern, verse_chords);
    add_pads(pattern, verse_chords, voices, {44, 44, 44, 44});
    add_arpeggio(pattern, verse_chords, 1, 34);
    return pattern;
}

XmPattern verse_pattern(PadVoices& voices, const Progression& chords, std::string_view melody) {
    XmPattern pattern = make_pattern(rows, channel_count);
    add_drums(pattern, Drums::full);
    add_driving_bass(pattern, chords);
    add_pads(pattern, chords, voices, {40, 40, 40, 40});
    add_arpeggio(pattern, chords, 2, 30);
    write_melody(pattern, lead_channel, 0, lead_instrument, lead_volume, melody);
    return pattern;
}

XmPattern bridge_pattern(PadVoices& voices) {
    XmPattern pattern = make_pattern(rows, channel_count);
    add_drums(pattern, Drums::open);
    add_driving_bass(pattern, bridge_chords);
    add_pads(pattern, bridge_chords, voices, {44, 44, 44, 44});
    add_arpeggio(pattern, bridge_chords, 1, 28);
    write_melody(pattern, lead_channel, 0, lead_instrument, lead_volume,
                 "F5:4 E5:2 D5:2 A5:6 F5:2 | E5:4 C5:2 A4:2 E5:6 C5:2 | "
                 "F5:2 G5:2 A5:4 C6:4 A5:4 | B5:4 G#5:4 E5:4 D5:2 B4:2");
    return pattern;
}

XmPattern breakdown_pattern(PadVoices& voices) {
    XmPattern pattern = make_pattern(rows, channel_count);
    for (int32_t b = 0; b < 4; ++b) {
        put_note(pattern, b * bar, kick_channel, note_number("C4"), kick_instrument, 56);
    }
    add_held_bass(pattern, verse_chords, 44);
    add_pads(pattern, verse_chords, voices, {48, 48, 48, 48});
    add_arpeggio(pattern, verse_chords, 1, 36);
    write_melody(pattern, lead_channel, 0, lead_instrument, 40,
                 "E5:12 D5:2 C5:2 | C5:16 | E5:8 G5:8 | D5:12 -:4");
    return pattern;
}

XmPattern outro_pattern(PadVoices& voices) {
    XmPattern pattern = make_pattern(rows, channel_count);
    XmPattern drums = make_pattern(rows, channel_count);
    add_drums(drums, Drums::full);
    // Full drums for two bars, the kick alone for the third, then silence under the last chord.
    for (int32_t row = 0; row < 3 * bar; ++row) {
        for (const int32_t channel : {kick_channel, snare_channel, hat_channel}) {
            if (row < 2 * bar || channel == kick_channel) {
                cell_at(pattern, row, channel) = cell_at(drums, row, channel);
            }
        }
    }
    add_driving_bass(pattern, outro_chords);
    for (int32_t row = 3 * bar; row < rows; ++row) {
        cell_at(pattern, row, bass_channel) = XmCell{};
    }
    put_note(pattern, 3 * bar, bass_channel, bass_root(a_minor), bass_instrument, 48);
    add_pads(pattern, outro_chords, voices, {44, 44, 44, 48});
    add_arpeggio(pattern, outro_chords, 2, 30);
    write_melody(pattern, lead_channel, 0, lead_instrument, lead_volume,
                 "A4:3 C5:3 E5:2 A5:8 | F5:6 E5:2 C5:8 | B4:6 G#4:2 B4:4 D5:4 | A4:16");
    return pattern;
}

} // namespace

XmModule compose_music() {
    XmModule module{"Supera", channel_count, 6, 128, {}, {}, {}};
    module.instruments = {make_kick(), make_snare(), make_closed_hat(), make_open_hat(),
                          make_bass(), make_lead(),  make_pad(),        make_pluck()};
    PadVoices voices{note_number("C4"), note_number("E4")};
    module.patterns.push_back(intro_pattern(voices));
    module.patterns.push_back(build_pattern(voices));
    module.patterns.push_back(
        verse_pattern(voices, verse_chords,
                      "A4:3 C5:3 E5:2 D5:2 C5:2 D5:2 E5:2 | F5:6 E5:2 C5:4 A4:4 | "
                      "G4:3 C5:3 E5:2 G5:4 E5:4 | D5:6 B4:2 G4:4 B4:2 D5:2"));
    module.patterns.push_back(
        verse_pattern(voices, turn_chords,
                      "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2 | F5:3 E5:3 D5:2 C5:4 D5:4 | "
                      "D5:3 B4:3 G4:2 B4:2 D5:2 G5:4 | E5:6 D5:2 B4:4 G#4:4"));
    module.patterns.push_back(bridge_pattern(voices));
    module.patterns.push_back(breakdown_pattern(voices));
    module.patterns.push_back(outro_pattern(voices));
    // intro, build, verse, turn, verse, turn, bridge twice, breakdown, build, verse, turn, outro
    module.order = {0, 1, 2, 3, 2, 3, 4, 4, 5, 1, 2, 3, 6};
    return module;
}
