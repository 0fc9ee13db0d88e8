// xdotool and import, run to their end with the test's display.
#include "tests/e2e/x_tools.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const Milliseconds tool_limit(10000);

CommandResult run_on(const std::string& display, const std::vector<std::string>& argv,
                     Milliseconds limit = tool_limit) {
    return run_command(argv, {"DISPLAY=" + display}, limit);
}

bool succeeded(const CommandResult& result) {
    return result.end.ended && result.end.exited && result.end.exit_status == 0;
}

} // namespace

std::optional<std::string> find_window(const std::string& display, const std::string& title,
                                       Milliseconds limit) {
    const CommandResult result =
        run_on(display, {"xdotool", "search", "--sync", "--name", "^" + title + "$"}, limit);
    std::istringstream lines(result.output);
    std::string id;
    if (!succeeded(result) || !(lines >> id))
        return std::nullopt;
    return id;
}

std::optional<WindowPlace> window_place(const std::string& display, const std::string& window) {
    const CommandResult result =
        run_on(display, {"xdotool", "getwindowgeometry", "--shell", window});
    if (!succeeded(result))
        return std::nullopt;
    WindowPlace place;
    int found = 0;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const int value = std::atoi(line.c_str() + equals + 1);
        int* field = key == "X"        ? &place.x
                     : key == "Y"      ? &place.y
                     : key == "WIDTH"  ? &place.width
                     : key == "HEIGHT" ? &place.height
                                       : nullptr;
        if (field != nullptr) {
            *field = value;
            ++found;
        }
    }
    if (found != 4)
        return std::nullopt;
    return place;
}

bool focus_window(const std::string& display, const std::string& window) {
    return succeeded(run_on(display, {"xdotool", "windowfocus", "--sync", window}));
}

std::string focused_window(const std::string& display) {
    const CommandResult result = run_on(display, {"xdotool", "getwindowfocus"});
    std::istringstream lines(result.output);
    std::string id;
    lines >> id;
    return id;
}

bool move_pointer(const std::string& display, int x, int y) {
    return succeeded(
        run_on(display, {"xdotool", "mousemove", std::to_string(x), std::to_string(y)}));
}

bool move_pointer_by(const std::string& display, int dx, int dy) {
    return succeeded(run_on(
        display, {"xdotool", "mousemove_relative", "--", std::to_string(dx), std::to_string(dy)}));
}

std::optional<std::pair<int, int>> pointer_position(const std::string& display) {
    const CommandResult result = run_on(display, {"xdotool", "getmouselocation", "--shell"});
    if (!succeeded(result))
        return std::nullopt;
    std::optional<int> x, y;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("X=", 0) == 0)
            x = std::atoi(line.c_str() + 2);
        else if (line.rfind("Y=", 0) == 0)
            y = std::atoi(line.c_str() + 2);
    }
    if (!x || !y)
        return std::nullopt;
    return std::make_pair(*x, *y);
}

bool click_left(const std::string& display) {
    return succeeded(run_on(display, {"xdotool", "click", "1"}));
}

bool press_key(const std::string& display, const std::string& key) {
    // Held for 30 ms, as a finger would: the name entry looks at the keys down once a frame,
    // and a busy machine's frames can be longer than xdotool's default 6 ms.
    return succeeded(run_on(display, {"xdotool", "key", "--delay", "60", key}));
}

bool hold_key(const std::string& display, const std::string& key, Milliseconds time) {
    const bool down = succeeded(run_on(display, {"xdotool", "keydown", key}));
    std::this_thread::sleep_for(time);
    // Let go even when the press seemed to fail, so that no key stays down.
    const bool up = succeeded(run_on(display, {"xdotool", "keyup", key}));
    return down && up;
}

bool type_text(const std::string& display, const std::string& text) {
    // Each key held for 40 ms, then 40 ms before the next: many passes of the game see each key
    // down and up, even on a busy machine.
    return succeeded(run_on(display, {"xdotool", "type", "--delay", "80", text}));
}

std::optional<Image> take_screenshot(const std::string& display, const std::string& window) {
    const CommandResult result =
        run_on(display, {"import", "-window", window, "-depth", "8", "ppm:-"});
    Image image;
    if (!succeeded(result) || !parse_ppm(result.output, &image))
        return std::nullopt;
    return image;
}

ScreenshotBurst start_screenshot_burst(const std::string& display, const std::string& window,
                                       int count, const std::string& path_prefix) {
    ScreenshotBurst burst{-1, path_prefix, count};
    const std::string loop = "i=0; while [ $i -lt " + std::to_string(count) +
                             " ]; do import -window " + window + " -depth 8 ppm:\"" + path_prefix +
                             "$i.ppm\"; i=$((i+1)); done";
    ChildOptions options;
    options.environment = {"DISPLAY=" + display};
    burst.pid = start_child({"sh", "-c", loop}, options);
    return burst;
}

std::vector<Image> finish_screenshot_burst(const ScreenshotBurst& burst) {
    std::vector<Image> pictures;
    if (burst.pid < 0)
        return pictures;
    if (!wait_for_child(burst.pid, Milliseconds(20000)).ended)
        kill_child(burst.pid);
    for (int i = 0; i < burst.count; ++i) {
        const std::string path = burst.path_prefix + std::to_string(i) + ".ppm";
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        Image image;
        if (parse_ppm(bytes, &image))
            pictures.push_back(std::move(image));
        std::remove(path.c_str());
    }
    return pictures;
}
