// A player's session on the fake platform: the real main loop runs on a thread of its own and
// the script on the test's, taking turns pass by pass, with a perfect aim at the targets.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/main_loop.h"
#include "game/entities.h"
#include "game/shots.h"
#include "platform/key_codes.h"
#include "platform/window.h"
#include "tests/fake/fake_platform.h"
#include "world/state.h"

constexpr int64_t one_tick = 10001; // counts at 1 MHz: one tick due per pass, a count carried

class Journey {
  public:
    Journey() {
        fake::state().on_idle = [this] { hand_over(false); };
        fake::state().on_exit = [](int) { running = 0; };
        game = std::thread([this] {
            {
                std::unique_lock<std::mutex> lock(mutex);
                turn_changed.wait(lock, [&] { return game_turn; });
            }
            entry_routine();
            std::lock_guard<std::mutex> lock(mutex);
            finished = true;
            game_turn = false;
            turn_changed.notify_all();
        });
        hand_over(true);
    }
    ~Journey() {
        // A journey cut short by a failure still ends the game, so that everything is released.
        while (!finished) {
            if (views[main_view].window != nullptr && fake::state().queue.empty())
                post(MessageKind::destroy);
            hand_over(true);
        }
        game.join();
    }

    // One pass of the loop after the clock moved on by counts.
    void pass(int64_t counts = one_tick) {
        fake::state().counter += counts;
        hand_over(true);
        if (++passes % 40 == 0)
            on_note("pass " + std::to_string(passes));
    }
    void passes_of(int count, int64_t counts = one_tick) {
        for (int i = 0; i < count && !finished; ++i)
            pass(counts);
    }
    void post(MessageKind kind, uint32_t wparam = 0, uint32_t lparam = 0, int view = main_view) {
        fake::state().queue.push_back({views[view].window, kind, wparam, lparam});
    }
    void key_down(uint32_t vk, uint32_t scan) {
        post(MessageKind::key_pressed, vk, 1 | scan << 16);
    }
    void key_up(uint32_t vk, uint32_t scan) {
        post(MessageKind::key_released, vk, 1 | scan << 16 | 3u << 30);
    }
    // A key pressed and released within one pass, then a pass to see what it did.
    void key(uint32_t vk, uint32_t scan = 0) {
        key_down(vk, scan);
        key_up(vk, scan);
        pass();
        on_note("key " + std::to_string(vk));
    }
    void click(int32_t x, int32_t y) {
        post(MessageKind::mouse_move, 0, make_lparam(x, y));
        pass(0); // the gun turns to the mouse in this pass, and no tick runs
        post(MessageKind::left_button_down, 0, make_lparam(x, y));
        pass();
    }
    // Typing: "+k" k goes down, "-k" it comes up, "|" a pass, "@" the game ends with row 1 to
    // name; k: a letter, ^ > Shift, < Backspace, = # Enter, * keypad, _ space, [ F5, ] Esc, ! F2.
    void keys(const char* script) {
        for (const char* at = script; *at != '\0'; ++at) {
            if (*at == '|' || *at == '@') {
                *at == '|' ? pass()
                           : void((game_over = entering_name = new_rank = 1, name_length = 0));
                continue;
            }
            const char* const rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm", "^", ">", "<", "=",
                                        "#",          "*",         "_",       "[", "]", "!"};
            const uint32_t first[] = {16, 30, 44, 42, 54, 14, 28, 156, 55, 57, 63, 1, 60};
            const uint32_t commands[] = {vk_f5, vk_escape, vk_f2}; // the last three's keys
            const bool down = *at++ == '+';
            for (uint32_t r = 0; r < 13; ++r)
                if (const char* in_row = std::strchr(rows[r], *at)) {
                    const uint32_t key = first[r] + static_cast<uint32_t>(in_row - rows[r]);
                    const uint32_t vk = r < 10 ? 0 : commands[r - 10];
                    down ? key_down(vk, key) : key_up(vk, key);
                }
        }
    }

    // Fires at the lowest target when some point of the view sends a shot into it.
    bool fire_at_lowest() {
        const Target* lowest = nullptr;
        for (const Target* t = target_list.first; t != nullptr; t = t->next)
            if (lowest == nullptr || t->object.position.y > lowest->object.position.y)
                lowest = t;
        int32_t x = 0, y = 0;
        if (lowest == nullptr || !aim(*lowest, &x, &y))
            return false;
        click(x, y);
        return true;
    }

    // Told why, after each key and every 40 passes: the trace notes the game's state then.
    std::function<void(const std::string&)> on_note = [](const std::string&) {};
    bool finished = false;

  private:
    // Gives the turn to the other side and waits until it comes back.
    void hand_over(bool to_game) {
        std::unique_lock<std::mutex> lock(mutex);
        if (finished)
            return;
        game_turn = to_game;
        turn_changed.notify_all();
        turn_changed.wait(lock, [&] { return game_turn != to_game; });
    }

    // How near a shot fired with the mouse at (x, y) comes to the target, in whole units on
    // its worst axis; under 16 is a hit. The gun turns 0.4 degree per pixel from the centre.
    static int32_t miss_by(const Target& target, int32_t x, int32_t y) {
        const float cx = static_cast<float>(views[main_view].width / 2);
        const float cy = static_cast<float>(views[main_view].height / 2);
        const Vec3 v = target.object.velocity;
        const Vec3 shot_v = aimed_velocity(shot_speed, static_cast<float>((cy - y) * 0.4),
                                           static_cast<float>((x - cx) * 0.4));
        Vec3 shot{cx, cy, 0.0f}, goal = target.object.position;
        int32_t nearest = 1 << 30;
        for (int32_t n = 0; n < 60 && shot.z > goal.z - 20.0f; ++n) {
            goal = {goal.x + v.x, goal.y + v.y, goal.z + v.z};
            shot = {shot.x + shot_v.x, shot.y + shot_v.y, shot.z + shot_v.z};
            const int32_t worst = std::max({std::abs(static_cast<int32_t>(goal.x - shot.x)),
                                            std::abs(static_cast<int32_t>(goal.y - shot.y)),
                                            std::abs(static_cast<int32_t>(goal.z - shot.z))});
            nearest = std::min(nearest, worst);
        }
        return nearest;
    }

    // Where the mouse must be for a shot fired now to meet the target: the best of a coarse
    // sweep of the view, then of the pixels around it.
    static bool aim(const Target& target, int32_t* mouse_x, int32_t* mouse_y) {
        const int32_t w = views[main_view].width, h = views[main_view].height;
        int32_t best = 1 << 30, bx = 0, by = 0;
        const auto sweep = [&](int32_t x0, int32_t y0, int32_t reach, int32_t step) {
            for (int32_t x = std::max(x0 - reach, 0); x < std::min(x0 + reach + 1, w); x += step)
                for (int32_t y = std::max(y0 - reach, 0); y < std::min(y0 + reach + 1, h);
                     y += step)
                    if (const int32_t miss = miss_by(target, x, y); miss < best)
                        best = miss, bx = x, by = y;
        };
        sweep(w / 2, h / 2, std::max(w, h), 8);
        sweep(bx, by, 8, 1);
        *mouse_x = bx;
        *mouse_y = by;
        return best < 16;
    }

    std::thread game;
    std::mutex mutex;
    std::condition_variable turn_changed;
    bool game_turn = false;
    int passes = 0;
};

// Plays until the level (or the hits) are reached or the game ends, firing whenever the last
// shot is gone.
void play_until_level(Journey& j, int32_t goal);
void fire_until_hits(Journey& j, int32_t wanted);
void play_until_over(Journey& j);
