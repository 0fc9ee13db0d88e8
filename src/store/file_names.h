// The two files the game keeps in the player's folder.
#pragma once

constexpr const char* scores_file = "scores.dat";
constexpr const char* config_file = "config.dat";
