// A game controller's buttons as the game's keys and clicks, by what the game shows: A or the
// right trigger fires where the pad aims, Start pauses (at a game over it starts the next), Back
// goes through the side screens and B returns from them, Y starts a new game, the shoulders and
// the D-pad set the volumes; while a name is typed the D-pad types it, and A or Start ends it.
// The keys and clicks go the player's way, through the queue, where the game records them.
#pragma once

#include "platform/window.h"

// What the game shows, for a pad's buttons to do there what the player means by them.
enum class PadScene { play, paused_play, game_ended, naming, help_page, hiscore_table, about_page };

// A pad's button or its removal, as the platform tells of them.
void pad_message(const Message& message);
// Once a pass: the scene taken from the game, the D-pad's repeats, Start held on an empty name.
void step_pad_controls();
// Back to a program's start.
void reset_pad_controls();
