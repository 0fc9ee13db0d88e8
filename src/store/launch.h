// Where the game stands when it starts: the player's folder, the folder its own files were
// installed in, and its command line. On Linux the launcher makes and enters the player's folder
// before the game starts; on Windows the game does so itself.
#pragma once

#include <string>

// The command line as the game reads it, in UTF-8 whatever the system gives, and the process
// readied for the run (output to a closed pipe or terminal must not end it; a game started from
// a console answers there).
void take_command_line(int* argc, char*** argv);
// Makes and enters the player's folder, where the game keeps their files, unless the launcher
// did. `replay`, a replay named from where the player stood, is found there still. False with
// the words for the player when there is no such folder to be had.
bool enter_player_folder(const char** replay, std::string* problem);
// The folder the game's own pictures, sounds, music and font were installed in.
const char* installed_data_folder();
// The folder the game runs in, as the player would name it.
std::string current_folder();
