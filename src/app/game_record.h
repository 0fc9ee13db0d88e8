// Every game as its logic meets it. While a game is played, what the logic takes from outside
// (the messages it acts on, the clock readings, the ends of the music) is noted pass by pass;
// while a recorded game is watched, the same is handed back from the record, in the same order,
// so that the game takes the same course to the same end.
#pragma once

#include <cstdint>

#include "platform/window.h"

// Kept in files by the store (store/replay_file.h).
struct Replay;
struct ReplayStart;
struct ReplayEnd;

// The logic's clock: the performance counter, noted; or, watching, the recorded reading, handed
// out at once (the watcher paces the passes).
int64_t game_counter();
int64_t game_frequency();
// Whether the music module has reached its end: asked of the sound library and noted; or,
// watching, as it was recorded.
bool game_music_finished();

// Notes a message the logic acts on, and hands it to its window procedure.
void handle_message(const Message& message);
// A pass of idle work begins.
void note_pass();

// Called first by a new game: the game before it, if any, is kept as the last game, and a new
// record begins. Watching, a second game is the record going its own way.
void start_game_record();
// Called last by a new game: how the game stands at its start; watching, the recorded start is
// taken up instead.
void note_game_start();
// The game under way is kept as the last game (the program is ending, or a new game begins),
// unless the player released no key and fired no shot in it.
void keep_last_game();
// The row being named is saved in scores.dat: the game so far is kept as the game of that row.
void keep_named_game(int32_t rank);

// Back to a program's start: nothing recorded, nothing watched.
void reset_game_record();
// Watching: the game is taken from the record instead of recorded, at its own pace or as fast
// as it goes.
void play_back(const Replay& replay, bool fast);
// Watching: the first clock reading the pass under way took; false when it took none.
bool first_reading_of_pass(int64_t* reading);
// What comes next in the record: a message for the main window, or a pass of idle work.
enum class RecordedStep { message, pass, end };
RecordedStep next_recorded_step(Message* message);
// The record went its own way: a reading was wanted after the last one or one was left unread,
// a music end was met where the game did not look for it, or a second game began.
bool playback_went_astray();
// How the game stands now, as a record's end keeps it.
ReplayEnd game_end_state();
// The recorded start and end, watching.
const ReplayStart& recorded_start();
const ReplayEnd& recorded_end();
