// Long texts cut to what a message box shows readably.
#include "app/readable_text.h"

#include <algorithm>

std::string readable(std::string rest) {
    constexpr size_t width = 72, most_lines = 12;
    std::string shown;
    for (size_t line = 1; !rest.empty(); ++line) {
        const bool cut = line == most_lines && rest.size() > width; // "..." takes three
        const size_t room = cut ? width - 3 : width;
        size_t end = std::min(rest.find('\n'), rest.size());
        if (end > room) {
            end = rest.find_last_of(' ', room);
            for (end = end == std::string::npos || end == 0 ? room : end;
                 end > 1 && (rest[end] & 0xC0) == 0x80;)
                --end; // not inside a character of several bytes
        }
        if (line == most_lines && end < rest.size())
            return shown + rest.substr(0, end) + "...";
        shown += rest.substr(0, end);
        rest.erase(0, end < rest.size() && (rest[end] == ' ' || rest[end] == '\n') ? end + 1 : end);
        if (!rest.empty())
            shown += '\n';
    }
    return shown;
}
