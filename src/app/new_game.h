// Starting a fresh game.
#pragma once

void new_game();
