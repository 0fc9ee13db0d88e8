// Getting a game to its end: left alone it is over when its first target escapes; with one
// hit against a table of 0-point rows, that end is a new hi-score waiting for its name.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"

// Waits, without a shot, for the game-over overlay of a game started at session->started:
// the first target escapes between 17 and 24 s after the start.
testing::AssertionResult wait_until_over(GameSession* session);
// Shoots until one target is hit; *shots gets the shots it took.
testing::AssertionResult score_one_hit(GameSession* session, int* shots = nullptr);
// Waits for the new-hi-score overlay of a game that scored, started at session->started.
testing::AssertionResult wait_for_naming(GameSession* session);
