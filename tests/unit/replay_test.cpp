// Recorded games: a player's games on the fake platform, kept in their files as they end and
// watched on a fresh start, end exactly as they did; files that are no replay are refused, in
// words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/game_record.h"
#include "app/replay_watch.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "store/hiscores.h"
#include "store/replay_file.h"
#include "tests/unit/journey.h"
#include "tests/unit/unit_support.h"

namespace {

Replay read_kept(const char* path) {
    Replay replay;
    std::string why;
    EXPECT_TRUE(read_replay_file(path, &replay, &why)) << path << ": " << why;
    return replay;
}

// Watches a record on a fresh start, as fast as it goes: the exit status, and what it said.
int watch(const Replay& replay, std::string* said) {
    FreshGame fresh;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = watch_replay(replay, true);
    *said = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::is_empty(".")) << "a watched game saved something";
    return status;
}

TEST(Replays, GamesPlayBackToTheirEnds) {
    FreshGame fresh;
    // A table whose fourth row two hits beat, and the games of rows 4 and 5 on file.
    const uint32_t table_points[] = {900, 700, 500, 150, 10};
    for (int32_t row = 0; row < hiscore_count; ++row)
        hiscores[row].points = table_points[row];
    Bytes table(hiscores_file_size);
    encode_hiscores(table.data());
    write_bytes("scores.dat", table);
    const Bytes row4_game = game_that_made_row(table, 3);
    write_bytes("rank4.zrp", row4_game);
    write_bytes("rank5.zrp", game_that_made_row(table, 4));
    std::vector<Replay> games;
    {
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.pass();
        // The first game: hits and a miss, the frame rate, a pause, the help, the focus lost and
        // found, the music's end; F2 ends it.
        fire_until_hits(j, 2);
        j.click(20, 380);
        j.key(vk_f8);
        j.key(vk_letter('P'));
        j.passes_of(40);
        j.key(vk_letter('P'));
        j.key(vk_f1);
        j.key(vk_escape);
        j.post(MessageKind::activate_app, 0);
        j.passes_of(3);
        j.post(MessageKind::activate_app, 1);
        j.pass(3000000);
        j.passes_of(30);
        fake::state().counter_step = 2500; // each reading later than the one before
        fake::state().music_finished = true;
        j.passes_of(5);
        fake::state().counter_step = 0;
        j.key(vk_letter('P'));
        j.key_down(0, 16); // Q, held into the next game
        j.key(vk_f2);
        games.push_back(read_kept("last.zrp"));
        // The second, begun with the music playing, Q held and the pause text's colour new: a
        // pause at once, two hits, a target escapes and the name is typed into row 4 (Q,
        // pressed again while held, types nothing), then more play until F12.
        j.key(vk_letter('P'));
        j.key(vk_letter('P'));
        fire_until_hits(j, 2);
        play_until_over(j);
        ASSERT_EQ(new_rank, 3);
        j.keys("+q+^+z-z-^+e-e-q|+=-=|");
        games.push_back(read_kept("rank4.zrp"));
        j.passes_of(30);
        j.key(vk_f12);
    }
    games.push_back(read_kept("last.zrp"));
    EXPECT_EQ(read_bytes("rank5.zrp"), row4_game); // row 4's game moved down with its row
    std::vector<std::string> told;
    for (const Replay& game : games) {
        told.emplace_back();
        EXPECT_EQ(watch(game, &told.back()), 0) << told.back();
    }
    EXPECT_NE(told[1].find("row 4 \"Ze\""), std::string::npos) << told[1];
}

// Games played on desktops end on the fake platform exactly as they did there: one on a bare X
// server (three hits, the pause, the side screens, the volumes, a name), one on Windows under
// Wine (29 hits, two levels up, a name).
TEST(Replays, GamesPlayedOnDesktopsEndAsTheyDidThere) {
    const std::pair<const char*, const char*> kept[] = {
        {"ada.zrp", "zarnok3d replay: points 300, level 1, hits 3, shots 3, row 5 \"Ada\", 2029 "
                    "frames"},
        {"wine.zrp", "zarnok3d replay: points 3313, level 3, hits 29, shots 132, row 5 \"W1\", "
                     "3982 frames"},
    };
    for (const auto& [name, ending] : kept) {
        const Replay game = read_kept((std::string(ZARNOK_REPLAY_DIR "/") + name).c_str());
        std::string said;
        EXPECT_EQ(watch(game, &said), 0) << said;
        EXPECT_EQ(said.substr(0, std::strlen(ending)), ending);
    }
}

// Watched at its own speed, a game takes as long as it took to play, the watcher's pause aside;
// the pause says so over the game.
TEST(Replays, AWatchedGameTakesItsTime) {
    Replay game;
    {
        FreshGame fresh;
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.click(200, 150);
        j.passes_of(100); // a second
        j.key(vk_f12);
        game = read_kept("last.zrp");
    }
    FreshGame fresh;
    fake::state().on_idle = [] { fake::state().counter += 1000; }; // a millisecond between looks
    for (int twice = 0; twice < 2; ++twice)                        // the watcher pauses and goes on
        fake::state().queue.push_back({nullptr, MessageKind::key_released, vk_letter('P'), 0});
    testing::internal::CaptureStdout();
    watch_replay(game, false);
    const std::string said = testing::internal::GetCapturedStdout();
    const size_t in = said.find(" frames in ");
    ASSERT_NE(in, std::string::npos) << said;
    EXPECT_NEAR(std::stod(said.substr(in + 11)), 1.0, 0.05) << said;
    const auto& texts = fake::state().texts;
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& text) {
        return text.ends_with("press 'p' to watch on");
    }));
}

// A game the player did nothing in but leave (started and ended at once, the pointer moved
// over it) is not kept over the last one played; one with a key pressed is, and on a first start
// with no game kept the one left at once is.
TEST(Replays, AGameLeftAtOnceIsNotKeptOverTheLast) {
    FreshGame fresh;
    write_bytes("last.zrp", Bytes{7});
    for (const bool paused_once : {false, true}) {
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.passes_of(70);
        j.post(MessageKind::mouse_move, 0, make_lparam(150, 150));
        if (paused_once) {
            j.key(vk_letter('P'));
            j.key(vk_letter('P'));
        }
        j.key(vk_f12);
        EXPECT_EQ(read_bytes("last.zrp") == Bytes{7}, !paused_once);
    }
    std::filesystem::remove("last.zrp");
    Journey first;
    first.post(MessageKind::activate_app, 1);
    first.passes_of(70);
    first.key(vk_f12);
    EXPECT_TRUE(std::filesystem::exists("last.zrp"));
}

// A record made by hand: three passes, clock readings (one of them backwards) and a key, at a
// rate of a million.
constexpr int64_t readings[] = {5000000000, 5000016667, 5000016000};

Bytes a_record(void (*change)(Replay*) = [](Replay*) {}) {
    Replay made;
    made.start.frequency = 1000000;
    for (int i = 0; i < 3; ++i)
        add_pass(&made);
    add_message(&made, ReplayInput::key_released, 0x50, 0xC0190001);
    for (const int64_t reading : readings)
        add_reading(&made, reading);
    made.end.passes = 3;
    change(&made);
    return encode_replay(made);
}

constexpr int64_t a_week = 7 * 24 * 3600 * int64_t{1000000}; // of a_record's clock
constexpr const char* jumps = "its clock jumps further than a game's can";
constexpr const char* crowded = "more happens in it between two frames than in any game";

// `count` more of an input after a_record's key, in the same pass.
void repeat(Replay* replay, ReplayInput input, int count) {
    for (int i = 0; i < count; ++i)
        if (input == ReplayInput::music_end)
            add_music_end(replay);
        else
            add_message(replay, input, 0, 0);
}

std::string refusal(const Bytes& bytes) {
    Replay replay;
    std::string why;
    return decode_replay(bytes.data(), bytes.size(), &replay, &why) ? "accepted" : why;
}

TEST(Replays, WhatIsNoReplayIsRefusedInWords) {
    const Bytes good = a_record();
    Replay back;
    std::string why;
    ASSERT_TRUE(decode_replay(good.data(), good.size(), &back, &why)) << why;
    ReplayCursor cursor;
    for (const int64_t reading : readings) {
        int64_t read = 0;
        EXPECT_TRUE(next_reading(back, &cursor, &read));
        EXPECT_EQ(read, reading);
    }
    Bytes other_version = good, longer = good;
    other_version[8] = 2;
    longer.push_back(0);
    const std::pair<Bytes, const char*> cases[] = {
        {{}, "it is not a replay of Zarnok 3D"},
        {{'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0}, "it is not a replay of Zarnok 3D"},
        {other_version, "it was recorded by another version of the game (replay version 2; this "
                        "one plays version 1)"},
        {Bytes(good.begin(), good.begin() + 100), "it is cut short"},
        {longer, "it has bytes after its end"},
        {a_record([](Replay* r) { r->start.sound_volume = 256; }),
         "its start is not that of a game"},
        {a_record([](Replay* r) { r->end.passes = 4; }), "its record of the game is incomplete"},
        {a_record([](Replay* r) { r->end.passes = 2; }), "its record of the game is incomplete"},
        {a_record([](Replay* r) { r->events.push_back(99); }), "its record of the game is damaged"},
        {a_record([](Replay* r) { r->readings.push_back(0x80); }),
         "its clock readings are damaged"},
        // What no game meets between two passes: the clock moved by more than a week either
        // way, a burst of clicks, of messages, of the music's ends.
        {a_record([](Replay* r) { add_reading(r, r->last_reading + a_week + 1); }), jumps},
        {a_record([](Replay* r) { add_reading(r, r->last_reading - a_week - 1); }), jumps},
        {a_record([](Replay* r) { add_reading(r, r->last_reading + a_week); }), "accepted"},
        {a_record([](Replay* r) { add_reading(r, r->last_reading + 64); }),
         "accepted"}, // a step of 128 once zigzagged
        {a_record([](Replay* r) { repeat(r, ReplayInput::left_button_down, 101); }), crowded},
        {a_record([](Replay* r) { repeat(r, ReplayInput::left_button_down, 100); }), "accepted"},
        {a_record([](Replay* r) { repeat(r, ReplayInput::key_pressed, 1000); }), crowded},
        {a_record([](Replay* r) { repeat(r, ReplayInput::key_pressed, 999); }), "accepted"},
        {a_record([](Replay* r) { repeat(r, ReplayInput::music_end, 101); }), crowded},
        {a_record([](Replay* r) { repeat(r, ReplayInput::music_end, 100); }), "accepted"},
    };
    for (const auto& [bytes, refused_because] : cases)
        EXPECT_EQ(refusal(bytes), refused_because);
    // Cut anywhere, or any byte changed, it is refused.
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_NE(refusal(Bytes(good.begin(), good.begin() + size)), "accepted") << size;
    for (size_t at = 0; at < good.size(); ++at) {
        Bytes garbled = good;
        garbled[at] ^= 0x10;
        EXPECT_NE(refusal(garbled), "accepted") << at;
    }
    FreshGame fresh;
    std::filesystem::create_directory("folder.zrp");
    write_bytes("huge.zrp", good);
    std::filesystem::resize_file("huge.zrp", most_replay_bytes + 1);
    for (const auto& [path, said] : {std::pair{"folder.zrp", "not a plain file"},
                                     {"missing.zrp", "there is no such file"},
                                     {"huge.zrp", "File too large"}}) {
        EXPECT_FALSE(read_replay_file(path, &back, &why));
        EXPECT_EQ(why, said);
    }
}

// However many clicks a forged replay packs into its passes, no more shots fly than a hand
// could keep in the air.
TEST(Replays, ClicksBeyondAnyHandFireNoMoreShots) {
    FreshGame fresh;
    init_game();
    for (uint32_t click = 0; click < 3 * most_clicks_per_pass; ++click)
        fire_shot();
    int32_t in_flight = 0;
    for (const Shot* shot = shot_list.first; shot != nullptr; shot = shot->next)
        ++in_flight;
    EXPECT_EQ(in_flight, most_shots_in_flight);
    EXPECT_EQ(shots_fired, most_shots_in_flight);
    shut_down();
}

} // namespace
