// The FastTracker 2 extended module (XM) format: records for a song and their encoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint8_t xm_key_off = 97;

// One cell of a pattern; zero in a field means "nothing there".
struct XmCell {
    uint8_t note;       // 1 = C-0, 49 = C-4, 97 = key off
    uint8_t instrument; // 1-based
    uint8_t volume;     // volume column: 0x10 + volume (0..64) sets the volume
    uint8_t effect;
    uint8_t parameter;
};

struct XmPattern {
    int32_t rows;
    int32_t channels;
    std::vector<XmCell> cells; // row by row
};

struct XmEnvelopePoint {
    uint16_t tick;
    uint16_t value; // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points; // at most 12; empty means off
    int32_t sustain_point;               // -1 for none
};

// A sample always stored as 16-bit here; loop positions and lengths are in samples.
struct XmSample {
    std::string name;
    std::vector<int16_t> data;
    int32_t loop_start;
    int32_t loop_length; // 0: no loop
    uint8_t volume;      // 0..64
    int8_t finetune;
    uint8_t panning; // 128 is the centre
    int8_t relative_note;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    XmEnvelope volume_envelope;
    uint16_t fadeout;
    uint8_t vibrato_type;
    uint8_t vibrato_sweep;
    uint8_t vibrato_depth;
    uint8_t vibrato_rate;
};

struct XmModule {
    std::string name;
    int32_t channels;
    int32_t speed; // ticks a row
    int32_t bpm;
    std::vector<uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

XmPattern make_pattern(int32_t rows, int32_t channels);
inline XmCell& cell_at(XmPattern& pattern, int32_t row, int32_t channel) {
    return pattern.cells[static_cast<size_t>(row) * pattern.channels + channel];
}

// The module as the bytes of an .xm file.
std::vector<uint8_t> encode_xm(const XmModule& module);
