// What the unit tests share: a folder of their own to run in, the game's globals back at their
// program-load values, and file bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Makes and enters a fresh folder with the fake platform and every global of the game reset;
// leaves and removes it again when it goes.
struct FreshGame {
    FreshGame();
    ~FreshGame();
    std::string folder, previous;
};

void reset_game_globals();
Bytes read_bytes(const std::string& path);
void write_bytes(const std::string& path, const Bytes& bytes);
// The replay, as its file holds it, of a game that made row `row` of `table` (scores.dat's
// bytes): a game of no passes, whose table had another row there at its start.
Bytes game_that_made_row(const Bytes& table, int32_t row);
