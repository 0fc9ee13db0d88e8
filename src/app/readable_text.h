// Long texts cut to what a message box shows readably.
#pragma once

#include <string>

// A text as a message box shows it readably: lines of at most 72 bytes, broken at spaces where
// there are some and never inside a character, and no more than 12 of them, the last ending in
// "..." when the text goes on.
std::string readable(std::string text);
