// The sine and cosine the game turns by, worked out by the game itself so that a game takes the
// same course on every system (the C libraries' own differ in their last bits): correctly
// rounded wherever the game's angles lie, in plain double arithmetic that every x86-64 compiler
// does alike.
#pragma once

double sine(double radians);
double cosine(double radians);
