// An independent reader of the music module's header and patterns.
#include "xm_reading.h"

namespace {

bool fail(ModuleLayout& layout, const std::string& error) {
    layout.error = error;
    return false;
}

bool read_pattern(const std::vector<uint8_t>& bytes, size_t& offset, uint32_t channels,
                  ModuleLayout& layout) {
    const uint32_t header_length = read_u32(bytes, offset);
    if (header_length != 9 || bytes.size() < offset + 9 || bytes[offset + 4] != 0) {
        return fail(layout, "bad pattern header");
    }
    ModulePattern pattern{read_u16(bytes, offset + 5), {}};
    const size_t data_size = read_u16(bytes, offset + 7);
    size_t at = offset + header_length;
    const size_t end = at + data_size;
    if (end > bytes.size()) {
        return fail(layout, "pattern data past the end");
    }
    while (at < end) {
        ModuleCell cell{0, 0, 0, 0, 0};
        uint8_t* fields[] = {&cell.note, &cell.instrument, &cell.volume, &cell.effect,
                             &cell.parameter};
        const uint8_t first = bytes[at];
        if ((first & 0x80) != 0) {
            ++at;
            for (uint32_t i = 0; i < 5; ++i) {
                if ((first & (1u << i)) != 0) {
                    *fields[i] = at < end ? bytes[at++] : 0;
                }
            }
        } else {
            for (uint32_t i = 0; i < 5; ++i) {
                *fields[i] = at < end ? bytes[at++] : 0;
            }
        }
        pattern.cells.push_back(cell);
    }
    if (pattern.cells.size() != static_cast<size_t>(pattern.rows) * channels) {
        return fail(layout, "pattern cell count does not match rows x channels");
    }
    layout.patterns.push_back(pattern);
    offset = end;
    return true;
}

bool read_layout(const std::vector<uint8_t>& bytes, ModuleLayout& layout) {
    if (read_text(bytes, 0, 17) != "Extended Module: " || bytes.size() < 336 || bytes[37] != 0x1A) {
        return fail(layout, "not an extended module");
    }
    if (read_u16(bytes, 58) != 0x0104) {
        return fail(layout, "not version 1.04");
    }
    layout.header_size = read_u32(bytes, 60);
    layout.song_length = read_u16(bytes, 64);
    layout.channels = read_u16(bytes, 68);
    const uint32_t pattern_count = read_u16(bytes, 70);
    layout.instruments = read_u16(bytes, 72);
    layout.speed = read_u16(bytes, 76);
    layout.bpm = read_u16(bytes, 78);
    if (layout.song_length == 0 || layout.song_length > 256) {
        return fail(layout, "bad song length");
    }
    layout.order.assign(bytes.begin() + 80, bytes.begin() + 80 + layout.song_length);
    size_t offset = 60 + layout.header_size;
    for (uint32_t p = 0; p < pattern_count; ++p) {
        if (!read_pattern(bytes, offset, layout.channels, layout)) {
            return false;
        }
    }
    return true;
}

} // namespace

ModuleLayout read_module_layout(const std::vector<uint8_t>& bytes) {
    ModuleLayout layout;
    layout.valid = read_layout(bytes, layout);
    return layout;
}
