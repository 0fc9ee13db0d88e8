// The music module's structure, read independently of the generator: a sound XM with enough
// channels, patterns and instruments, that never loops back and has notes on all of its channels.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

struct Cell {
    uint8_t note, instrument, volume, effect, parameter;
};

// The header and the patterns; the instruments are left to the players.
struct Song {
    uint32_t header_size = 0, channels = 0, instruments = 0, speed = 0, bpm = 0;
    std::vector<uint8_t> order;
    std::vector<std::vector<Cell>> patterns; // cells row by row, channels across
};

// "" when the file reads as an extended module, otherwise what is wrong with it.
std::string read_song(Song* song) {
    const std::vector<uint8_t> bytes = read_bytes(data_path("supera29.xm"));
    if (read_text(bytes, 0, 17) != "Extended Module: " || bytes.size() < 336 || bytes[37] != 0x1A)
        return "not an extended module";
    if (read_u16(bytes, 58) != 0x0104)
        return "not version 1.04";
    song->header_size = read_u32(bytes, 60);
    const uint32_t song_length = read_u16(bytes, 64);
    song->channels = read_u16(bytes, 68);
    const uint32_t pattern_count = read_u16(bytes, 70);
    song->instruments = read_u16(bytes, 72);
    song->speed = read_u16(bytes, 76);
    song->bpm = read_u16(bytes, 78);
    if (song_length == 0 || song_length > 256)
        return "bad song length";
    song->order.assign(bytes.begin() + 80, bytes.begin() + 80 + song_length);
    size_t offset = 60 + song->header_size;
    for (uint32_t p = 0; p < pattern_count; ++p) {
        // A 9-byte header with the rows and the size of the packed cells that follow.
        if (read_u32(bytes, offset) != 9 || bytes.size() < offset + 9 || bytes[offset + 4] != 0)
            return "bad pattern header";
        const uint32_t rows = read_u16(bytes, offset + 5);
        size_t at = offset + 9;
        const size_t end = at + read_u16(bytes, offset + 7);
        if (end > bytes.size())
            return "pattern data past the end";
        std::vector<Cell>& cells = song->patterns.emplace_back();
        while (at < end) {
            // Five bytes, or a first byte with its top bit set that tells which of them follow.
            const uint8_t present = bytes[at] & 0x80 ? bytes[at++] : 0x1F;
            uint8_t fields[5] = {};
            for (int i = 0; i < 5; ++i)
                if (present & (1 << i))
                    fields[i] = at < end ? bytes[at++] : 0;
            cells.push_back({fields[0], fields[1], fields[2], fields[3], fields[4]});
        }
        if (cells.size() != static_cast<size_t>(rows) * song->channels)
            return "pattern cell count does not match rows x channels";
        offset = end;
    }
    return "";
}

TEST(ModuleFormat, HeaderAndOrderListAreSound) {
    Song song;
    ASSERT_EQ(read_song(&song), "");
    EXPECT_EQ(song.header_size, 276u);
    EXPECT_GE(song.channels, 6u);
    EXPECT_LE(song.channels, 32u);
    EXPECT_GE(song.patterns.size(), 4u);
    EXPECT_GE(song.instruments, 6u);
    EXPECT_GT(song.speed, 0u);
    EXPECT_GT(song.bpm, 31u);
    const std::set<uint8_t> used(song.order.begin(), song.order.end());
    EXPECT_LT(*used.rbegin(), song.patterns.size())
        << "the order plays a pattern that is not there";
    EXPECT_EQ(used.size(), song.patterns.size()) << "a pattern never played";
    EXPECT_GT(song.order.size(), used.size()) << "no pattern repeats";
}

// Every pattern is played (above), so the patterns of the order are all of them.
TEST(ModuleFormat, NeverJumpsBackOrLoopsAndEveryChannelPlaysNotes) {
    Song song;
    ASSERT_EQ(read_song(&song), "");
    std::vector<int> notes(song.channels, 0);
    for (const uint8_t index : song.order) {
        ASSERT_LT(index, song.patterns.size());
        const std::vector<Cell>& cells = song.patterns[index];
        for (size_t i = 0; i < cells.size(); ++i) {
            const Cell& cell = cells[i];
            EXPECT_NE(cell.effect, 0x0B) << "position jump in pattern " << int(index);
            EXPECT_FALSE(cell.effect == 0x0E && (cell.parameter >> 4) == 0x6)
                << "pattern loop in pattern " << int(index);
            EXPECT_LE(cell.note, 97) << "pattern " << int(index);
            if (cell.note >= 1 && cell.note <= 96) {
                ++notes[i % song.channels];
                EXPECT_GE(cell.instrument, 1);
                EXPECT_LE(cell.instrument, song.instruments);
            }
        }
    }
    for (uint32_t channel = 0; channel < song.channels; ++channel)
        EXPECT_GE(notes[channel], 8) << "channel " << channel;
}

} // namespace
