// One seeded game on the fake platform, played through the real main loop by a scripted player
// from the first start in an empty folder to F12: three levels of aimed fire, pause, the side
// screens, the volume keys, moves, minimising, focus lost and regained, failing allocations, a
// silent sound device, the end of the game, a name typed into the table, a second game that
// scores nothing. Every so many passes it notes a compact line of the game's state (counters,
// lists, frames, texts, hashed) and every platform and sound call in between, and compares the
// whole with tests/unit/game_journey.trace, recorded from a reviewed run. A few worked figures
// are checked directly beside it. ZARNOK_RECORD_TRACE=1 writes the trace anew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <new>
#include <set>
#include <thread>

#include "app/clock.h"
#include "app/main_loop.h"
#include "app/random.h"
#include "app/shutdown.h"
#include "app/state.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "game/proximity.h"
#include "game/shots.h"
#include "platform/key_codes.h"
#include "store/hiscores.h"
#include "tests/fake/fake_platform.h"
#include "tests/unit/unit_support.h"

namespace {

bool fail_allocations = false;

} // namespace

// The game's records are allocated without exceptions; this lets the journey run out of memory.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return fail_allocations ? nullptr : ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

constexpr int64_t one_tick = 10001; // counts at 1 MHz: one tick due per pass, a count carried

struct Hash {
    uint64_t value = 14695981039346656037ull;
    Hash& add(const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            value = (value ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211ull;
        return *this;
    }
};

// Position, velocity, angles and colour, and the faces as last turned and projected.
void add_object(Hash* h, const Object3D& o) {
    h->add(&o.position, sizeof(float) * 9).add(&o.red, sizeof(int32_t) * 3);
    for (int32_t i = 0; o.world_faces != nullptr && i < o.face_count; ++i)
        h->add(o.world_faces[i].vertices, sizeof(Vec3) * o.world_faces[i].vertex_count)
            .add(&o.world_faces[i].depth, sizeof(double))
            .add(&o.draw_order[i], sizeof(int32_t));
}

template <typename Record> size_t add_list(Hash* h, const RecordList<Record>& list) {
    size_t count = 0;
    for (const Record* r = list.first; r != nullptr; r = r->next, ++count) {
        add_object(h, r->object);
        if constexpr (std::is_same_v<Record, Target>)
            h->add(&r->health, sizeof r->health);
        if constexpr (std::is_same_v<Record, Particle>)
            h->add(&r->life, sizeof r->life);
    }
    return count;
}

unsigned long long hash_canvas(const Canvas* c) {
    Hash h;
    for (int32_t y = 0; c != nullptr && y < c->height; ++y)
        h.add(c->pixels + static_cast<ptrdiff_t>(y) * c->pitch, 4u * c->width);
    return h.value;
}

// The game runs on a thread of its own and the script on the test's; they take turns, so that
// the script reads like a player's session while the real loop runs.
class Journey {
  public:
    Journey() {
        exit_code = entry_result = -1;
        fake::state().on_idle = [this] { hand_over(false); };
        fake::state().on_exit = [](int code) {
            exit_code = code;
            running = 0;
        };
        game = std::thread([this] {
            {
                std::unique_lock<std::mutex> lock(mutex);
                turn_changed.wait(lock, [&] { return game_turn; });
            }
            entry_result = entry_routine();
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
            note("pass");
    }
    void passes_of(int count, int64_t counts = one_tick) {
        for (int i = 0; i < count && !finished; ++i)
            pass(counts);
    }
    void post(MessageKind kind, uint32_t wparam = 0, uint32_t lparam = 0, int view = main_view) {
        fake::state().queue.push_back({views[view].window, kind, wparam, lparam});
    }
    void key_down(uint32_t vk, uint32_t scan) { post(MessageKind::key_down, vk, 1 | scan << 16); }
    void key_up(uint32_t vk, uint32_t scan) {
        post(MessageKind::key_up, vk, 1 | scan << 16 | 3u << 30);
    }
    // A key pressed and released within one pass, then a pass to see what it did.
    void key(uint32_t vk, uint32_t scan = 0) {
        key_down(vk, scan);
        key_up(vk, scan);
        pass();
        note("key " + std::to_string(vk));
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

    // A line of the game's state, after every platform and sound call made since the last.
    void note(const std::string& why) {
        for (const std::string& line : fake::state().log)
            trace.push_back("  " + line);
        fake::state().log.clear();
        Hash lists, texts, table;
        const size_t t = add_list(&lists, target_list), s = add_list(&lists, shot_list),
                     p = add_list(&lists, particle_list);
        for (int32_t i = 0; aim_cubes != nullptr && i < aim_cube_count; ++i)
            add_object(&lists, aim_cubes[i]);
        add_object(&lists, gun_model);
        for (const std::string& text : fake::state().texts)
            texts.add(text.data(), text.size());
        fake::state().texts.clear();
        table.add(hiscores.data(), sizeof hiscores);
        const View &main = views[main_view], &gun = views[gun_view];
        char line[640];
        std::snprintf(
            line, sizeof line,
            "%s: run%d act%d pause%d help%d hisc%d about%d over%d name%d fps%d rank%d len%d key%d"
            " | level %d points %u acc %d next %d hits %d shots %d live %d/%d every %d at %d"
            " fall %.4f depth %.1f | vol %d %d | rnd %08x fps %d due %d carry %lld"
            " | view %d,%d %dx%d mouse %d,%d | %zu %zu %zu %016llx"
            " | main %016llx %016llx gun %016llx %016llx | text %016llx table %016llx",
            why.c_str(), running, app_active, paused, help_shown, hiscores_shown, about_shown,
            game_over, entering_name, show_fps, new_rank, name_length, last_name_key, level, points,
            accuracy, to_next, hits, shots_fired, live_targets, max_targets, spawn_interval,
            spawn_counter, fall_speed, spawn_depth_range, music_volume, sound_volume, random_state,
            frames_per_second, ticks_due, static_cast<long long>(clock_accumulator), main.x, main.y,
            main.width, main.height, main.mouse_x, main.mouse_y, t, s, p,
            static_cast<unsigned long long>(lists.value), hash_canvas(main.back_dc),
            hash_canvas(main.window->surface), hash_canvas(gun.back_dc),
            hash_canvas(gun.window ? gun.window->surface : nullptr),
            static_cast<unsigned long long>(texts.value),
            static_cast<unsigned long long>(table.value));
        trace.push_back(line);
    }

    std::vector<std::string> trace;
    bool finished = false;
    static inline int exit_code = -1, entry_result = -1;

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

// Plays until the level is reached or the game ends, firing whenever the last shot is gone.
void play_until_level(Journey& j, int32_t goal) {
    for (int i = 0; i < 20000 && level < goal && !game_over; ++i)
        if (shot_list.first != nullptr || !j.fire_at_lowest())
            j.pass();
}

void play_until_over(Journey& j) {
    for (int i = 0; i < 5000 && !game_over; ++i)
        j.pass(2 * one_tick);
}

TEST(GameJourney, MatchesTheRecordedTrace) {
    FreshGame fresh;
    // The help picture and the level-up sound are missing: black behind the help, no sound.
    // The volumes kept from before: music out of range, which the first tick brings to 255.
    fake::state().missing_files = {"f1bg.bmp", "yeah.wav"};
    write_bytes("config.dat", {0x2C, 0x01, 0, 0, 3, 0, 0, 0});
    Journey j;
    ASSERT_EQ(running, 1);
    j.pass(); // not yet active: the loop waits and draws nothing
    j.note("inactive");
    // A first start writes the built-in table.
    const Bytes table = read_bytes("scores.dat");
    ASSERT_EQ(table.size(), 100u);
    EXPECT_EQ(
        Bytes(table.begin(), table.begin() + 20),
        Bytes({'T', 'i', 'b', 'b', 'o', 0, 0, 0, 0, 0, 0, 5, 100, 0, 0, 0, 0x10, 0x27, 0, 0}));

    j.post(MessageKind::activate_app, 1);
    j.pass();
    j.note("active");
    j.key(vk_f8);     // the frame rate, in the text state the back buffer starts with
    j.passes_of(230); // the first target appears on tick 201
    EXPECT_EQ(live_targets, 1);
    for (int i = 0; i < 900 && !j.fire_at_lowest(); ++i)
        j.pass(); // until the target comes within the gun's reach
    while (shot_list.first != nullptr)
        j.pass();
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(points, 100u); // level 1 x level 1 x 100% accuracy
    j.click(20, 380);        // a miss: 1 hit in 2 shots
    EXPECT_EQ(accuracy, 50);
    play_until_level(j, 2);
    EXPECT_EQ(to_next, 10);
    EXPECT_EQ(spawn_interval, 185);
    fake::state().music_finished = true; // the module ends and starts again
    j.passes_of(3);

    // Pause, with a click that must not fire, and the overlay over the frozen game.
    const int32_t fired = shots_fired;
    j.key(vk_f8);
    j.key(vk_letter('P'));
    j.click(200, 200);
    std::set<Colour> colours; // of the pause text over a second: a few, never a strobe, bright
    for (int i = 0; i < 100; ++i, j.pass())
        for (const std::string& text : fake::state().texts)
            if (text.find("P A U S E D") != std::string::npos)
                colours.insert(static_cast<Colour>(std::stoul(text.substr(text.find(' ')))));
    for (Colour c : colours)
        EXPECT_GE(std::min({red_of(c), green_of(c), blue_of(c)}), 128u) << c;
    EXPECT_GE(colours.size(), 3u);
    EXPECT_LE(colours.size(), 4u);
    j.key(vk_letter('P'));
    // The side screens and the volume keys, which work on them without closing them.
    j.key(vk_f1);
    j.click(100, 300); // no shot is fired under any side screen
    for (int i = 0; i < 13; ++i)
        j.key(vk_home);
    j.key(vk_end);
    for (int i = 0; i < 13; ++i)
        j.key(vk_next);
    j.key(vk_prior);
    EXPECT_EQ(music_volume, 245);
    EXPECT_EQ(sound_volume, 10);
    j.key(vk_f5);
    j.click(300, 300);
    j.key(vk_letter('P')); // pauses the game under the hi-score screen
    j.key(vk_escape);
    j.key(vk_letter('P'));
    j.key(vk_f7);
    j.click(300, 100);
    EXPECT_EQ(shots_fired, fired);
    j.key(vk_letter('Z'));
    j.key(vk_f8);
    j.passes_of(20, 20002);
    j.passes_of(3, 0); // equal readings keep the frame rate

    // The window moves, partly off the screen too; the two windows are minimised together,
    // the focus goes for five seconds, and they come back together, either of them first.
    j.post(MessageKind::moved, 0, make_lparam(100, 120));
    j.pass();
    j.post(MessageKind::moved, 0, make_lparam(-1, -5));
    j.pass();
    EXPECT_EQ(views[main_view].x + views[main_view].y, -6);
    j.post(MessageKind::sized, size_minimised, 0);
    j.post(MessageKind::activate_app, 0);
    j.passes_of(3);
    j.post(MessageKind::activate_app, 1); // before the window says it is back: the gun comes too
    j.post(MessageKind::sized, size_restored, make_lparam(400, 400));
    j.pass(5000000);
    j.post(MessageKind::sized, size_minimised, 0, gun_view);
    j.post(MessageKind::sized, size_restored, make_lparam(100, 150), gun_view);
    j.pass();
    j.note("back");
    const int32_t counted = spawn_counter;
    j.pass(60000000); // a minute stopped: one second of play, 100 ticks
    EXPECT_EQ((spawn_counter - counted + spawn_interval) % spawn_interval, 100);
    // The module ends again, and now cannot be loaded: the game goes on silently for good.
    fake::state().missing_files.insert("supera29.xm");
    fake::state().music_finished = true;
    j.passes_of(3);

    // Memory runs out for a while: no target and no shot can be made.
    fail_allocations = true;
    j.passes_of(200);
    j.click(200, 200);
    fail_allocations = false;
    // A sound device that never reports the gun as playing holds the shot back only briefly.
    fake::state().sound_reports_playing = false;
    fake::state().counter_step = 1000;
    j.click(200, 150);
    fake::state().counter_step = 0;
    fake::state().sound_reports_playing = true;

    play_until_level(j, 3);
    play_until_over(j);
    ASSERT_EQ(game_over, 1);
    ASSERT_EQ(entering_name, 1);
    const int32_t rank = new_rank;
    j.click(200, 200); // the gun is silent once the game is over

    // The name: "a", Shift+B, a space, q held over a and a Backspace, keys held over passes,
    // and more letters than the row takes; Enter saves.
    j.keys("+a|-a+^+b|-b-^+_-_+q+a|-q-a+<||-<+b|-b+b+b+b|-b|+b-b+b-b+b-b+b-b+b-b+b-b|");
    j.note("typed");
    EXPECT_STREQ(hiscores[rank].name, "aB qbbbbbb");
    j.keys("+=|-=|"); // Enter
    EXPECT_EQ(entering_name, 0);
    const Bytes saved = read_bytes("scores.dat");
    ASSERT_EQ(saved.size(), 100u);
    EXPECT_EQ(std::memcmp(saved.data() + 20 * rank, "aB qbbbbbb", 11), 0);
    j.key(vk_f5);
    j.key(vk_space);

    // A second game that scores nothing: no row, and P does nothing once it is over.
    j.key(vk_f2);
    j.key(vk_letter('P'));
    j.key(vk_f2); // a new game from the pause is not paused
    j.click(10, 10);
    play_until_over(j);
    EXPECT_EQ(entering_name, 0);
    j.key(vk_letter('P'));
    EXPECT_EQ(paused, 0);
    j.key(vk_f12);
    EXPECT_TRUE(j.finished);
    EXPECT_EQ(Journey::exit_code, 0);
    EXPECT_EQ(read_bytes("config.dat"), Bytes({245, 0, 0, 0, 10, 0, 0, 0}));
    j.note("end");

    const std::string path = std::string(ZARNOK_TRACE_DIR) + "/game_journey.trace";
    if (std::getenv("ZARNOK_RECORD_TRACE") != nullptr) {
        std::ofstream out(path);
        for (const std::string& line : j.trace)
            out << line << "\n";
    }
    std::ifstream in(path);
    std::vector<std::string> recorded;
    for (std::string line; std::getline(in, line);)
        recorded.push_back(line);
    const size_t common = std::min(recorded.size(), j.trace.size());
    for (size_t i = 0; i < common; ++i)
        ASSERT_EQ(j.trace[i], recorded[i])
            << "first difference at line " << i + 1 << " of " << path;
    EXPECT_EQ(j.trace.size(), recorded.size()) << path;
}

// Names typed at any speed, with keys overlapping, over the game-over picture of the real loop.
TEST(GameJourney, NamesTypedAtAnySpeedAndRollover) {
    const std::pair<const char*, const char*> cases[] = {
        {"@+z-z+a-a+r-r+n-n+o-o+k-k|", "zarnok"},            // all within one pass
        {"@+z-z+a|-a+r-r|+n-n+o|-o+k-k|", "zarnok"},         // two keys a pass
        {"@+z|-z|+a|-a|+r|-r|+n|-n|+o|-o|+k|-k|", "zarnok"}, // slowly
        {"@+z+a-z+r-a+n-r+o-n+k-o-k|", "zarnok"},            // each key down before the last is up
        {"@+s+a|-s-a|", "sa"},                               // let go together
        {"@+^+z-z-^+a-a+>+r|-r->+n-n|", "ZaRn"},             // Shift as it was at each press
        {"@+^+z-^+a|-z-a|+_+*+p-p-*-_|", "Za *p"},
        {"@+k|+k|+k-k|+k-k+k|", "kkk"}, // a key held down repeats: one press
        {"@+a+b+c+d+e+f+g+h+i+j+k+l|-a|", "abcdefghij"},
        {"@+a-a+b-b+<-<+c-c|+<|-<+<-<+<-<+t|", "t"},
        {"@+d-d+#-#+e-e|", "d"},                // Enter saves, and what follows is not typed
        {"@+a-a+[-[+b-b|+]-]+c-c|", "ac"},      // nor what is typed behind a side screen
        {"@+a-a+=-=+b-b|+!-!|@+c-c+=-=|", "c"}, // nor in the next game
    };
    for (const auto& [script, name] : cases) {
        FreshGame fresh;
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.pass();
        j.keys(script);
        EXPECT_STREQ(hiscores[1].name, name) << script;
        EXPECT_EQ(entering_name, std::strpbrk(script, "=#") == nullptr) << script;
        EXPECT_EQ(read_bytes("scores.dat")[20] == name[0], !entering_name) << script;
    }
}

// A quit message from outside ends the loop at once, without the shutdown.
TEST(GameJourney, QuitEndsTheLoopWithoutTheShutdown) {
    FreshGame fresh;
    {
        Journey j;
        j.post(MessageKind::quit, 7);
        j.pass();
        EXPECT_TRUE(j.finished);
    }
    EXPECT_EQ(Journey::exit_code, -1);
    EXPECT_TRUE(read_bytes("config.dat").empty());
    EXPECT_EQ(Journey::entry_result, 7);
    shut_down(); // what the process's end would release
}

} // namespace
