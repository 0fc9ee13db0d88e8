// Getting a game to its end: left alone it is over when its first target escapes; with one
// hit against a table of 0-point rows, that end is a new hi-score waiting for its name.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "tests/e2e/game_session.h"
#include "tests/e2e/score_table.h"

using TimePoint = std::chrono::steady_clock::time_point;

// Five rows of 0 points under short names: any score above 0 ranks first.
ScoreTable zero_table();

// Waits, without a shot, for the game-over overlay of a game that started at the given time
// (the program's start, or an F2 after it).
testing::AssertionResult wait_until_over(GameSession* session, TimePoint game_start);
// Shoots until one target is hit.
testing::AssertionResult score_one_hit(GameSession* session);
// Waits for the new-hi-score overlay of a game that scored, started at the given time.
testing::AssertionResult wait_for_naming(GameSession* session, TimePoint game_start);
// Both of the above.
testing::AssertionResult score_and_wait_for_naming(GameSession* session, TimePoint game_start);
