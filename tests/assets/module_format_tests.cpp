// The music module's structure, read independently of the generator: a sound XM with enough
// channels, patterns and instruments, that never loops back and has notes on all of its channels.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "asset_files.h"
#include "xm_reading.h"

namespace {

ModuleLayout read_song() {
    return read_module_layout(read_bytes(data_path("supera29.xm")));
}

TEST(ModuleFormat, HeaderAndOrderListAreSound) {
    const ModuleLayout song = read_song();
    ASSERT_TRUE(song.valid) << song.error;
    EXPECT_EQ(song.header_size, 276u);
    EXPECT_GE(song.channels, 6u);
    EXPECT_LE(song.channels, 32u);
    EXPECT_GE(song.patterns.size(), 4u);
    EXPECT_GE(song.instruments, 6u);
    EXPECT_GT(song.speed, 0u);
    EXPECT_GT(song.bpm, 31u);
    const std::set<uint8_t> used(song.order.begin(), song.order.end());
    for (const uint8_t pattern : song.order) {
        EXPECT_LT(pattern, song.patterns.size());
    }
    EXPECT_EQ(used.size(), song.patterns.size()) << "a pattern never played";
    EXPECT_GT(song.order.size(), used.size()) << "no pattern repeats";
}

TEST(ModuleFormat, NeverJumpsBackOrLoops) {
    const ModuleLayout song = read_song();
    ASSERT_TRUE(song.valid) << song.error;
    for (size_t p = 0; p < song.patterns.size(); ++p) {
        for (const ModuleCell& cell : song.patterns[p].cells) {
            EXPECT_NE(cell.effect, 0x0B) << "position jump in pattern " << p;
            EXPECT_FALSE(cell.effect == 0x0E && (cell.parameter >> 4) == 0x6)
                << "pattern loop in pattern " << p;
            EXPECT_LE(cell.note, 97) << "pattern " << p;
        }
    }
}

TEST(ModuleFormat, EveryChannelPlaysNotes) {
    const ModuleLayout song = read_song();
    ASSERT_TRUE(song.valid) << song.error;
    std::vector<int32_t> notes(song.channels, 0);
    for (const uint8_t index : song.order) {
        const ModulePattern& pattern = song.patterns.at(index);
        for (size_t i = 0; i < pattern.cells.size(); ++i) {
            const ModuleCell& cell = pattern.cells[i];
            if (cell.note >= 1 && cell.note <= 96) {
                ++notes[i % song.channels];
                EXPECT_GE(cell.instrument, 1);
                EXPECT_LE(cell.instrument, song.instruments);
            }
        }
    }
    for (uint32_t channel = 0; channel < song.channels; ++channel) {
        EXPECT_GE(notes[channel], 8) << "channel " << channel;
    }
}

} // namespace
