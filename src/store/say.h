// What the game tells the player, a line at a time: on the standard error, and where the game
// keeps a log (on Windows, where a game started from the desktop has no terminal), in it too.
#pragma once

// One line, after "zarnok3d: ", in printf's manner.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
// From now on every line said is also added to the file at path.
void keep_log(const char* path);
