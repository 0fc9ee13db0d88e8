// UTF-8, as the game keeps its text, and UTF-16, as Windows takes and gives it; and the errors
// of Windows as the C library's errno values. Windows only.
#pragma once

#include <string>

// Empty for text that is not UTF-8 (and no path of that name can then be opened).
std::wstring utf16(const std::string& text);
std::string utf8(const wchar_t* text);
// The errno value nearest to a Windows error (GetLastError's).
int errno_of(unsigned long windows_error);
