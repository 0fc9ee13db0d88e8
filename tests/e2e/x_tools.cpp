// xdotool and import, run to their end with the test's display.
#include "tests/e2e/x_tools.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

namespace {

CommandResult run_on(const std::string& display, const std::vector<std::string>& argv,
                     Milliseconds limit = Milliseconds(10000)) {
    return run_command(argv, {"DISPLAY=" + display}, limit);
}

bool succeeds(const std::string& display, const std::vector<std::string>& argv) {
    return exited_with_zero(run_on(display, argv).end);
}

std::string first_word(const std::string& text) {
    std::istringstream words(text);
    std::string word;
    words >> word;
    return word;
}

// The numbers of the NAME=number lines that xdotool's --shell prints, in the order of the names
// asked for; none when the command failed or a name is missing.
std::optional<std::vector<int>> shell_values(const CommandResult& result,
                                             const std::vector<std::string>& names) {
    if (!exited_with_zero(result.end))
        return std::nullopt;
    std::map<std::string, int> found;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line))
        if (const size_t equals = line.find('='); equals != std::string::npos)
            found[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    std::vector<int> values;
    for (const std::string& name : names) {
        if (!found.contains(name))
            return std::nullopt;
        values.push_back(found[name]);
    }
    return values;
}

} // namespace

std::optional<std::string> find_window(const std::string& display, const std::string& title,
                                       Milliseconds limit) {
    const CommandResult result =
        run_on(display, {"xdotool", "search", "--sync", "--name", "^" + title + "$"}, limit);
    const std::string id = first_word(result.output);
    if (!exited_with_zero(result.end) || id.empty())
        return std::nullopt;
    return id;
}

std::optional<WindowPlace> window_place(const std::string& display, const std::string& window) {
    const auto v =
        shell_values(run_on(display, {"xdotool", "getwindowgeometry", "--shell", window}),
                     {"X", "Y", "WIDTH", "HEIGHT"});
    if (!v)
        return std::nullopt;
    return WindowPlace{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

bool focus_window(const std::string& display, const std::string& window) {
    return succeeds(display, {"xdotool", "windowfocus", "--sync", window});
}

std::string focused_window(const std::string& display) {
    return first_word(run_on(display, {"xdotool", "getwindowfocus"}).output);
}

bool move_pointer(const std::string& display, int x, int y) {
    return succeeds(display, {"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
}

bool move_pointer_by(const std::string& display, int dx, int dy) {
    return succeeds(
        display, {"xdotool", "mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
}

std::optional<std::pair<int, int>> pointer_position(const std::string& display) {
    const auto v =
        shell_values(run_on(display, {"xdotool", "getmouselocation", "--shell"}), {"X", "Y"});
    if (!v)
        return std::nullopt;
    return std::make_pair((*v)[0], (*v)[1]);
}

bool click_left(const std::string& display) {
    return succeeds(display, {"xdotool", "click", "1"});
}

bool press_key(const std::string& display, const std::string& key) {
    // Held for 30 ms, as a finger would: the name entry looks at the keys down once a frame,
    // and a busy machine's frames can be longer than xdotool's default 6 ms.
    return succeeds(display, {"xdotool", "key", "--delay", "60", key});
}

bool hold_key(const std::string& display, const std::string& key, Milliseconds time) {
    const bool down = succeeds(display, {"xdotool", "keydown", key});
    std::this_thread::sleep_for(time);
    // Let go even when the press seemed to fail, so that no key stays down.
    return succeeds(display, {"xdotool", "keyup", key}) && down;
}

bool type_text(const std::string& display, const std::string& text) {
    // Each key held for 40 ms, then 40 ms before the next: many passes of the game see each key
    // down and up, even on a busy machine.
    return succeeds(display, {"xdotool", "type", "--delay", "80", text});
}

std::optional<Image> take_screenshot(const std::string& display, const std::string& window) {
    const CommandResult result =
        run_on(display, {"import", "-window", window, "-depth", "8", "ppm:-"});
    Image image;
    if (!exited_with_zero(result.end) || !parse_ppm(result.output, &image))
        return std::nullopt;
    return image;
}
