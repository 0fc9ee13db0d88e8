// The FastTracker 2 extended module (XM) format: encoding a song into the bytes of a file.
#include "xm_writer.h"

#include "byte_output.h"

XmPattern make_pattern(int32_t rows, int32_t channels) {
    return XmPattern{rows, channels, std::vector<XmCell>(static_cast<size_t>(rows) * channels)};
}

namespace {

// Each cell is packed: a byte with the top bit set tells which fields follow.
void put_packed_cell(std::vector<uint8_t>& out, const XmCell& cell) {
    const uint8_t fields[] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
    uint8_t mask = 0;
    for (uint32_t i = 0; i < 5; ++i) {
        if (fields[i] != 0) {
            mask |= static_cast<uint8_t>(1u << i);
        }
    }
    put_u8(out, 0x80u | mask);
    for (uint32_t i = 0; i < 5; ++i) {
        if (fields[i] != 0) {
            put_u8(out, fields[i]);
        }
    }
}

void put_header(std::vector<uint8_t>& out, const XmModule& module) {
    put_text(out, "Extended Module: ", 17);
    put_text(out, module.name, 20);
    put_u8(out, 0x1A);
    put_text(out, "zarnok_assets", 20);
    put_u16(out, 0x0104);
    put_u32(out, 276); // header size, counted from here
    put_u16(out, static_cast<uint32_t>(module.order.size()));
    put_u16(out, 0); // restart position; unused, as the song never jumps back
    put_u16(out, static_cast<uint32_t>(module.channels));
    put_u16(out, static_cast<uint32_t>(module.patterns.size()));
    put_u16(out, static_cast<uint32_t>(module.instruments.size()));
    put_u16(out, 1); // linear frequency table
    put_u16(out, static_cast<uint32_t>(module.speed));
    put_u16(out, static_cast<uint32_t>(module.bpm));
    for (size_t i = 0; i < 256; ++i) {
        put_u8(out, i < module.order.size() ? module.order[i] : 0);
    }
}

void put_pattern(std::vector<uint8_t>& out, const XmPattern& pattern) {
    std::vector<uint8_t> data;
    for (const XmCell& cell : pattern.cells) {
        put_packed_cell(data, cell);
    }
    put_u32(out, 9);
    put_u8(out, 0);
    put_u16(out, static_cast<uint32_t>(pattern.rows));
    put_u16(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

void put_envelope_points(std::vector<uint8_t>& out, const XmEnvelope& envelope) {
    for (size_t i = 0; i < 12; ++i) {
        const XmEnvelopePoint point =
            i < envelope.points.size() ? envelope.points[i] : XmEnvelopePoint{0, 0};
        put_u16(out, point.tick);
        put_u16(out, point.value);
    }
}

void put_instrument(std::vector<uint8_t>& out, const XmInstrument& instrument) {
    const XmSample& sample = instrument.sample;
    const XmEnvelope& volume = instrument.volume_envelope;
    put_u32(out, 263);
    put_text(out, instrument.name, 22);
    put_u8(out, 0);
    put_u16(out, 1); // one sample
    put_u32(out, 40);
    put_text(out, "", 96); // every note plays sample 0
    put_envelope_points(out, volume);
    put_envelope_points(out, XmEnvelope{{}, -1});
    put_u8(out, static_cast<uint32_t>(volume.points.size()));
    put_u8(out, 0);
    put_u8(out, volume.sustain_point < 0 ? 0 : static_cast<uint32_t>(volume.sustain_point));
    put_u8(out, 0); // no envelope loop
    put_u8(out, 0);
    put_u8(out, 0); // panning envelope unused
    put_u8(out, 0);
    put_u8(out, 0);
    uint32_t volume_type = 0;
    if (!volume.points.empty()) {
        volume_type = volume.sustain_point < 0 ? 1 : 1 | 2;
    }
    put_u8(out, volume_type);
    put_u8(out, 0);
    put_u8(out, instrument.vibrato_type);
    put_u8(out, instrument.vibrato_sweep);
    put_u8(out, instrument.vibrato_depth);
    put_u8(out, instrument.vibrato_rate);
    put_u16(out, instrument.fadeout);
    put_text(out, "", 22);

    // Sample header; lengths are in bytes, two a 16-bit sample.
    put_u32(out, static_cast<uint32_t>(sample.data.size() * 2));
    put_u32(out, static_cast<uint32_t>(sample.loop_start * 2));
    put_u32(out, static_cast<uint32_t>(sample.loop_length * 2));
    put_u8(out, sample.volume);
    put_u8(out, static_cast<uint8_t>(sample.finetune));
    put_u8(out, 0x10u | (sample.loop_length > 0 ? 1u : 0u)); // 16-bit, forward loop
    put_u8(out, sample.panning);
    put_u8(out, static_cast<uint8_t>(sample.relative_note));
    put_u8(out, 0);
    put_text(out, sample.name, 22);

    // Sample data is stored as differences from the previous sample, wrapping at 16 bits.
    uint16_t previous = 0;
    for (const int16_t value : sample.data) {
        const uint16_t current = static_cast<uint16_t>(value);
        put_u16(out, static_cast<uint16_t>(current - previous));
        previous = current;
    }
}

} // namespace

std::vector<uint8_t> encode_xm(const XmModule& module) {
    std::vector<uint8_t> out;
    put_header(out, module);
    for (const XmPattern& pattern : module.patterns) {
        put_pattern(out, pattern);
    }
    for (const XmInstrument& instrument : module.instruments) {
        put_instrument(out, instrument);
    }
    return out;
}
