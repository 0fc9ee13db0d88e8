// The replays the game keeps beside scores.dat: last.zrp, the game played last, and rank1.zrp to
// rank5.zrp, the games of the hi-score table's rows, which move with their rows.
#pragma once

#include <cstdint>
#include <vector>

void keep_last_replay(const std::vector<uint8_t>& bytes);
// Row `rank` (0 the best) of the saved table holds a new game: the games of the rows below it
// move down one, the last row's falls out, and this one takes the row's place.
void keep_ranked_replay(int32_t rank, const std::vector<uint8_t>& bytes);
// Removes what saves of the kept replays cut short left behind.
void remove_interrupted_replay_saves();
