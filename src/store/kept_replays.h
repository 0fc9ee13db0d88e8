// The replays the game keeps beside scores.dat: last.zrp, the game played last, and rank1.zrp to
// rank5.zrp, the games of the hi-score table's rows, which move with their rows.
#pragma once

#include <cstdint>
#include <vector>

void keep_last_replay(const std::vector<uint8_t>& bytes);
// Whether the folder holds a game played last.
bool last_replay_kept();
// The game of row `rank` (0 the best) of the saved table.
void keep_ranked_replay(int32_t rank, const std::vector<uint8_t>& bytes);
// Each rank file follows its game's row in scores.dat as it stands on the disk: a file whose
// game made another row moves to that row's name, and one whose game made no row of the table
// is removed, said. Kept games and their table are one: after the table is saved with a new
// row the games below it move down, and a start mends whatever a save cut short left.
void match_ranked_replays();
// Removes what saves of the game's files (scores.dat, config.dat, the kept replays) cut short
// left in the folder; with `only_old`, only what is older than a minute (another copy of the
// game may be saving there).
void remove_interrupted_saves(bool only_old);
