// From the hand to the screen: how long after a click or a move of the mouse the game shows it,
// measured from outside as a player's eye would. The events are made with XTest at random
// moments against the game's frames, and the screen is read through X shared memory every
// 0.2 ms until it shows what the event caused: a shot's white cube at the view's middle, the gun
// view turned, the aim line moved.
//
//   input_probe VIEW_X VIEW_Y SCALE GUN_X GUN_Y [TRIALS]
//   input_probe --frames SECONDS VIEW_X VIEW_Y SCALE
//
// VIEW_X, VIEW_Y: where the main view's top left pixel is on the screen; SCALE: its
// enlargement; GUN_X, GUN_Y: the gun view's top left. Prints the median and the 95th percentile
// of each delay in milliseconds. With --frames, watches the whole view (where the aim
// line's cubes and the falling ones spin in every frame) for SECONDS and prints the frames a
// second and the 5th, 50th and 95th percentiles of the intervals between frames.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double poll_ms = 0.2, give_up_ms = 500;

// A rectangle of the screen, read whole at each look.
struct ScreenArea {
    Display* display;
    XImage* image;
    XShmSegmentInfo segment;
    int x, y;

    ScreenArea(Display* d, int left, int top, int width, int height) : display(d), x(left), y(top) {
        const int screen = DefaultScreen(d);
        image = XShmCreateImage(d, DefaultVisual(d, screen), DefaultDepth(d, screen), ZPixmap,
                                nullptr, &segment, width, height);
        segment.shmid = shmget(IPC_PRIVATE, image->bytes_per_line * height, IPC_CREAT | 0600);
        segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        segment.readOnly = False;
        XShmAttach(d, &segment);
        XSync(d, False);
        shmctl(segment.shmid, IPC_RMID, nullptr);
    }
    ~ScreenArea() {
        XShmDetach(display, &segment);
        shmdt(segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
    }
    void look() { XShmGetImage(display, DefaultRootWindow(display), image, x, y, AllPlanes); }
    // Red, green and blue of a pixel.
    void rgb(int px, int py, int* r, int* g, int* b) const {
        const unsigned long p = XGetPixel(image, px, py);
        *r = static_cast<int>(p >> 16 & 0xFF), *g = static_cast<int>(p >> 8 & 0xFF);
        *b = static_cast<int>(p & 0xFF);
    }
};

// How many pixels of the area are a shot's white.
double white_pixels(const ScreenArea& area) {
    int count = 0;
    for (int y = 0; y < area.image->height; ++y)
        for (int x = 0; x < area.image->width; ++x) {
            int r, g, b;
            area.rgb(x, y, &r, &g, &b);
            count += r > 230 && g > 230 && b > 230;
        }
    return count;
}

// Where the aim line's green cubes are: the middle of their pixels, across and down.
std::pair<double, double> green_middle(const ScreenArea& area) {
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < area.image->height; ++y)
        for (int x = 0; x < area.image->width; ++x) {
            int r, g, b;
            area.rgb(x, y, &r, &g, &b);
            if (g > 150 && r < 90 && b < 90)
                sx += x, sy += y, n += 1;
        }
    return n > 0 ? std::pair{sx / n, sy / n} : std::pair{-1.0, -1.0};
}

// The gun view's pixels, to tell when it has turned.
std::vector<unsigned long> picture(const ScreenArea& area) {
    std::vector<unsigned long> pixels;
    for (int y = 0; y < area.image->height; ++y)
        for (int x = 0; x < area.image->width; ++x)
            pixels.push_back(XGetPixel(area.image, x, y));
    return pixels;
}

double since(Clock::time_point then) {
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

// Milliseconds from `start` until `shown` is true of a fresh look at the area; -1 if never.
double until_shown(ScreenArea& area, Clock::time_point start, const std::function<bool()>& shown) {
    for (;;) {
        area.look();
        const double ms = since(start);
        if (shown())
            return ms;
        if (ms > give_up_ms)
            return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int>(poll_ms * 1000)));
    }
}

double percentile(const std::vector<double>& sorted, double share) {
    return sorted[std::min(sorted.size() - 1, static_cast<size_t>(share * sorted.size()))];
}

int frame_intervals(Display* display, double seconds, int vx, int vy, int s) {
    ScreenArea view(display, vx, vy, 400 * s, 400 * s);
    const size_t bytes = static_cast<size_t>(view.image->bytes_per_line) * view.image->height;
    view.look();
    std::vector<char> was(view.image->data, view.image->data + bytes);
    const Clock::time_point start = Clock::now();
    std::vector<double> changes;
    while (since(start) < seconds * 1000) {
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int>(poll_ms * 1000)));
        view.look();
        if (std::memcmp(view.image->data, was.data(), bytes) != 0) {
            changes.push_back(since(start));
            std::memcpy(was.data(), view.image->data, bytes);
        }
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < changes.size(); ++i)
        intervals.push_back(changes[i] - changes[i - 1]);
    std::sort(intervals.begin(), intervals.end());
    if (intervals.empty()) {
        std::printf("no frames seen\n");
        return 1;
    }
    std::printf("%.2f frames a second; intervals p5 %.2f ms, p50 %.2f ms, p95 %.2f ms\n",
                (changes.size() - 1) * 1000 / (changes.back() - changes.front()),
                percentile(intervals, 0.05), percentile(intervals, 0.5),
                percentile(intervals, 0.95));
    return 0;
}

void report(const char* what, std::vector<double> delays) {
    const size_t missed = std::count(delays.begin(), delays.end(), -1.0);
    delays.erase(std::remove(delays.begin(), delays.end(), -1.0), delays.end());
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) {
        std::printf("%-22s never seen\n", what);
        return;
    }
    std::printf("%-22s median %5.1f ms, p95 %5.1f ms, %zu events%s\n", what,
                percentile(delays, 0.5), percentile(delays, 0.95), delays.size(),
                missed > 0 ? " (some never seen)" : "");
}

} // namespace

int main(int argc, char** argv) {
    const bool frames = argc == 6 && std::string(argv[1]) == "--frames";
    if (argc < 6) {
        std::fprintf(stderr, "usage: input_probe VIEW_X VIEW_Y SCALE GUN_X GUN_Y [TRIALS]\n"
                             "       input_probe --frames SECONDS VIEW_X VIEW_Y SCALE\n");
        return 2;
    }
    const int vx = std::atoi(argv[1]), vy = std::atoi(argv[2]), s = std::atoi(argv[3]);
    const int gx = std::atoi(argv[4]), gy = std::atoi(argv[5]);
    const int trials = argc > 6 ? std::atoi(argv[6]) : 40;
    Display* display = XOpenDisplay(nullptr);
    int event_base, error_base, major, minor;
    if (display == nullptr || !XShmQueryExtension(display) ||
        !XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
        std::fprintf(stderr, "input_probe: needs a display with XTest and MIT-SHM\n");
        return 1;
    }
    if (frames)
        return frame_intervals(display, std::atof(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                               std::atoi(argv[5]));
    // The middle of the view, where shots start and the aim line turns about; the gun view.
    ScreenArea middle(display, vx + 120 * s, vy + 120 * s, 160 * s, 160 * s);
    ScreenArea gun(display, gx, gy, 100 * s, 150 * s);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> phase(0, 1000.0 / 60);
    const auto rest = [&] {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(250 + phase(random)));
    };
    const auto send = [&](const std::function<void()>& event) {
        event();
        XSync(display, False);
        return Clock::now();
    };

    std::vector<double> clicks, turns, lines;
    const KeyCode f2 = XKeysymToKeycode(display, XK_F2);
    for (int i = 0; i < trials; ++i) {
        // A fresh game now and then: cubes the probe never hits end the game before long.
        if (i % 8 == 0) {
            send([&] {
                XTestFakeKeyEvent(display, f2, True, 0);
                XTestFakeKeyEvent(display, f2, False, 0);
            });
            rest();
        }
        // Left and right of the middle by turns: each move turns the gun and the line.
        const int x = vx + (i % 2 == 0 ? 140 : 260) * s, y = vy + 200 * s;
        middle.look();
        gun.look();
        const auto line_was = green_middle(middle);
        const std::vector<unsigned long> gun_was = picture(gun);
        const Clock::time_point moved =
            send([&] { XTestFakeMotionEvent(display, DefaultScreen(display), x, y, 0); });
        double turned = -1, line_moved = -1;
        until_shown(gun, moved, [&] {
            middle.look();
            const double ms = since(moved);
            const auto line = green_middle(middle);
            if (turned < 0 && picture(gun) != gun_was)
                turned = ms;
            if (line_moved < 0 &&
                std::hypot(line.first - line_was.first, line.second - line_was.second) > 2 * s)
                line_moved = ms;
            return turned >= 0 && line_moved >= 0;
        });
        turns.push_back(turned);
        lines.push_back(line_moved);
        rest();
        middle.look();
        const double white_was = white_pixels(middle);
        const Clock::time_point clicked = send([&] { XTestFakeButtonEvent(display, 1, True, 0); });
        clicks.push_back(until_shown(
            middle, clicked, [&] { return white_pixels(middle) >= white_was + 12 * s * s; }));
        send([&] { XTestFakeButtonEvent(display, 1, False, 0); });
        rest();
    }
    report("click -> shot", clicks);
    report("motion -> gun view", turns);
    report("motion -> aim line", lines);
    return 0;
}
