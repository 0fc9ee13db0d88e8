// Score, accuracy and levels, and the end of a game.
#pragma once

void count_shot();
void score_hit();
void level_up();
// The first escape: the aim line blows up and the result is offered to the hi-score table.
void end_game();
// Offers the game's result to the hi-score table; a place found opens a row for the player's name.
void insert_hiscore();
