// A long headless run of the whole game loop at high levels: the real main-loop passes over the
// fake platform, a steady player shooting, a new game straight at level 10 whenever one ends.
// Prints the resident memory each simulated minute and the time each pass took, per five
// simulated minutes. Build with sanitizers to have LeakSanitizer look at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/main_loop.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/state.h"
#include "game/entities.h"
#include "game/scoring.h"
#include "game/shots.h"
#include "platform/key_codes.h"
#include "tests/fake/fake_platform.h"
#include "tests/support/steady_player.h"

namespace {

int64_t resident_kilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atoll(line.c_str() + 6);
    return -1;
}

void press(uint32_t key) {
    send_message(views[main_view].window, MessageKind::key_up, key, 1u << 31);
}

void start_at_level_ten() {
    press(vk_f2);
    while (level < 10)
        level_up();
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv) {
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 60;
    constexpr int frames_per_second = 60;
    const auto folder =
        std::filesystem::temp_directory_path() / ("zarnok-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);

    init_game();
    send_message(views[main_view].window, MessageKind::activate_app, 1, 0);
    start_at_level_ten();

    const int64_t counts_per_frame = fake::state().frequency / frames_per_second;
    std::vector<double> pass_ms;
    int games = 1, highest_level = level, shots = 0;
    std::printf("minute  rss_kB  games  level  targets  particles\n");
    for (int minute = 1; minute <= minutes; ++minute) {
        for (int frame = 0; frame < 60 * frames_per_second; ++frame) {
            if (frame % 4 == 0 && !game_over)
                if (const Target* target = lowest_target(); target != nullptr && aim_at(*target)) {
                    fire_shot();
                    ++shots;
                }
            fake::state().counter += counts_per_frame;
            const auto start = std::chrono::steady_clock::now();
            idle_work();
            pass_ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            // The fake keeps a record of every call; the game itself keeps nothing.
            fake::state().log.clear();
            fake::state().texts.clear();
            highest_level = std::max(highest_level, level);
            if (game_over && frame % 120 == 0) {
                start_at_level_ten();
                ++games;
            }
        }
        int32_t particles = 0;
        for (const Particle* p = particle_list.first; p != nullptr; p = p->next)
            ++particles;
        std::printf("%6d  %6lld  %5d  %5d  %7d  %9d\n", minute,
                    static_cast<long long>(resident_kilobytes()), games, level, live_targets,
                    particles);
        if (minute % 5 == 0 || minute == minutes) {
            std::printf("  passes of minutes %d-%d: median %.3f ms, 99th %.3f ms, max %.3f ms\n",
                        std::max(1, minute - 4), minute, percentile(pass_ms, 0.5),
                        percentile(pass_ms, 0.99), percentile(pass_ms, 1.0));
            pass_ms.clear();
        }
        std::fflush(stdout);
    }
    std::printf("%d games, %d shots, highest level %d\n", games, shots, highest_level);
    shut_down(); // releases everything; the fake's exit returns here
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
