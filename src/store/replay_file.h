// A recorded game as bytes: how the game stood when it began, what its logic met pass by pass
// (the messages it acted on, the clock readings it took, the ends of the music) and how it stood
// when it ended. Little-endian, versioned and checksummed; a file read back is untrusted input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/hiscores.h"

constexpr uint32_t replay_version = 1;
// Longer games are not kept: no file a game writes or reads back is larger, nor holds more
// passes (about 46 hours at 60 frames a second).
constexpr size_t most_replay_bytes = 32 << 20;
constexpr uint64_t most_replay_passes = 10'000'000;
// What a real game can meet between two passes, and a file may hold no more of: the clicks of
// the longest pass a player can make (a machine stalled for a few seconds, a quick finger: some
// 20 clicks a second), all the messages of such a pass, the music's ends of its most ticks, and
// the clock moved by at most a week between two readings, forwards or backwards (a machine
// asleep between them).
constexpr uint32_t most_clicks_per_pass = 100;
constexpr uint32_t most_messages_per_pass = 1000;
constexpr uint32_t most_music_ends_per_pass = 100;
constexpr int64_t most_reading_step_seconds = 7 * 24 * 60 * 60;

// What a game's course depends on besides what a new game sets itself.
struct ReplayStart {
    int64_t frequency;          // counts per second of the clock the readings come from
    uint32_t random_state;      // the generator as the new game seeded it
    int64_t overlay_changed_at; // when the overlay text last took a colour, and that colour
    uint32_t overlay_colour;
    uint8_t app_active;
    uint8_t music_started;
    uint8_t keys_down[32]; // a bit a scan code
    int32_t mouse_x, mouse_y;
    float gun_pitch, gun_yaw;
    int32_t music_volume, sound_volume;
    uint8_t table[hiscores_file_size]; // the hi-scores, as scores.dat holds them
};

// How it stood at the end: what a replay must come to again.
struct ReplayEnd {
    uint32_t points;
    int32_t level, hits, shots, accuracy;
    uint32_t random_state;
    uint64_t passes;
    uint8_t table[hiscores_file_size];
};

// What the logic meets in its loop, in the order of the events.
enum class ReplayInput : uint8_t {
    pass = 1,      // a pass of idle work (kept as runs of passes)
    music_end = 2, // the music module was found at its end
    key_pressed = 3,
    key_released,
    sys_key_pressed,
    sys_key_released,
    mouse_move,
    left_button_down,
    activate_app,
};

struct Replay {
    ReplayStart start{};
    ReplayEnd end{};
    std::vector<uint8_t> events;   // the inputs, passes counted in runs
    std::vector<uint8_t> readings; // the clock readings, each as its difference from the last
    // While it is written: where the last run of passes begins and its length, where the last
    // event begins if it is a mouse move, and the last reading.
    size_t run_at = SIZE_MAX;
    uint64_t run_length = 0;
    size_t mouse_at = SIZE_MAX;
    int64_t last_reading = 0;
};

void add_pass(Replay* replay);
void add_music_end(Replay* replay);
// Where the message begins in the events. A mouse move replaces one just before it: the game
// only keeps where the mouse is, and looks at it in a pass.
size_t add_message(Replay* replay, ReplayInput input, uint32_t wparam, uint32_t lparam);
void add_reading(Replay* replay, int64_t reading);

// Where a replay is read: the inputs in their order, a run of passes one pass at a time, and
// the readings in theirs.
struct ReplayCursor {
    size_t event_at = 0, reading_at = 0;
    uint64_t passes_left = 0;
    int64_t reading = 0;
};
struct ReplayEvent {
    ReplayInput input;
    uint32_t wparam, lparam;
};
// False at the end of the events.
bool next_event(const Replay& replay, ReplayCursor* cursor, ReplayEvent* event);
// The next event is a music end (and is taken); false otherwise.
bool take_music_end(const Replay& replay, ReplayCursor* cursor);
// False when every reading has been taken.
bool next_reading(const Replay& replay, ReplayCursor* cursor, int64_t* reading);

std::vector<uint8_t> encode_replay(const Replay& replay);
// What a replay's last four bytes hold: the checksum of the bytes before them.
uint32_t replay_checksum(const uint8_t* bytes, size_t size);
// False, with the reason in words, for bytes that are no replay of this version: truncated,
// garbled, of another version or of another kind of file.
bool decode_replay(const uint8_t* bytes, size_t size, Replay* replay, std::string* why);
// Reads and decodes a replay file; false with the reason as decode_replay gives it, or why the
// file cannot be read.
bool read_replay_file(const char* path, Replay* replay, std::string* why);
