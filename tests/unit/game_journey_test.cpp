// One seeded game on the fake platform, played through the real main loop by a scripted player
// from the first start in an empty folder to F12: three levels of aimed fire, pause, the side
// screens, the volume keys, moves, minimising, focus lost and regained, failing allocations, a
// silent sound device, the end of the game, a name typed into the table, a second game that
// scores nothing. Every so many passes it notes a compact line of the game's state (counters,
// lists, frames, texts, hashed) and every platform and sound call in between, and compares the
// whole with tests/unit/game_journey.trace, recorded from a reviewed run, and each object of the
// lists in words with game_journey.objects beside it. A few worked figures are checked directly
// beside it. ZARNOK_RECORD_TRACE=1 writes both anew.
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
#include <sstream>
#include <thread>

#include "app/clock.h"
#include "app/main_loop.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "game/proximity.h"
#include "game/shots.h"
#include "platform/key_codes.h"
#include "store/hiscores.h"
#include "tests/fake/fake_platform.h"
#include "tests/unit/journey.h"
#include "tests/unit/unit_support.h"
#include "world/random.h"
#include "world/state.h"

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

// Every object of the lists at each note, in words, recorded beside the trace: where the
// trace's hash of the objects differs, it tells which object and which of its figures.
std::vector<std::string> objects;

std::string described(const std::string& why, const char* kind, size_t index, const Object3D& o) {
    char line[400];
    std::snprintf(
        line, sizeof line,
        "%s, %s %zu: position %.3f,%.3f,%.3f velocity %.3f,%.3f,%.3f angles %.2f,%.2f,%.2f"
        " colour %d,%d,%d",
        why.c_str(), kind, index, o.position.x, o.position.y, o.position.z, o.velocity.x,
        o.velocity.y, o.velocity.z, o.angle_x, o.angle_y, o.angle_z, o.red, o.green, o.blue);
    return line;
}

template <typename Record>
size_t add_list(Hash* h, const RecordList<Record>& list, const std::string& why, const char* kind) {
    size_t count = 0;
    for (const Record* r = list.first; r != nullptr; r = r->next, ++count) {
        add_object(h, r->object);
        std::string object = described(why, kind, count, r->object);
        if constexpr (std::is_same_v<Record, Target>) {
            h->add(&r->health, sizeof r->health);
            object += " health " + std::to_string(r->health);
        }
        if constexpr (std::is_same_v<Record, Particle>) {
            h->add(&r->life, sizeof r->life);
            object += " life " + std::to_string(r->life);
        }
        objects.push_back(object);
    }
    return count;
}

unsigned long long hash_canvas(const Canvas* c) {
    Hash h;
    for (int32_t y = 0; c != nullptr && y < c->height; ++y)
        h.add(c->pixels + static_cast<ptrdiff_t>(y) * c->pitch, 4u * c->width);
    return h.value;
}

// A line of the game's state, after every platform and sound call made since the last.
void note(std::vector<std::string>* trace, const std::string& why) {
    for (const std::string& line : fake::state().log)
        trace->push_back("  " + line);
    fake::state().log.clear();
    Hash lists, texts, table;
    const size_t t = add_list(&lists, target_list, why, "target");
    const size_t s = add_list(&lists, shot_list, why, "shot");
    const size_t p = add_list(&lists, particle_list, why, "particle");
    for (int32_t i = 0; aim_cubes != nullptr && i < aim_cube_count; ++i)
        add_object(&lists, aim_cubes[i]);
    add_object(&lists, gun_model);
    for (const std::string& text : fake::state().texts)
        texts.add(text.data(), text.size());
    fake::state().texts.clear();
    table.add(hiscores.data(), sizeof hiscores);
    const View &main = views[main_view], &gun = views[gun_view];
    char line[800];
    std::snprintf(
        line, sizeof line,
        "%s: run %d active %d paused %d help %d hiscores %d about %d over %d naming %d"
        " showfps %d rank %d length %d lastkey %d | level %d points %u accuracy %d next %d"
        " hits %d shots %d live %d most %d every %d at %d fall %.4f depth %.1f | music %d"
        " effects %d | generator %08x fps %d due %d carry %lld | at %d,%d size %dx%d"
        " mouse %d,%d | targets %zu shots %zu particles %zu objects %016llx | mainbuffer %016llx"
        " mainwindow %016llx gunbuffer %016llx gunwindow %016llx | texts %016llx table %016llx",
        why.c_str(), running, app_active, paused, help_shown, hiscores_shown, about_shown,
        game_over, entering_name, show_fps, new_rank, name_length, last_name_key, level, points,
        accuracy, to_next, hits, shots_fired, live_targets, max_targets, spawn_interval,
        spawn_counter, fall_speed, spawn_depth_range, music_volume, sound_volume, random_state,
        frames_per_second, ticks_due, static_cast<long long>(clock_accumulator), main.x, main.y,
        main.width, main.height, main.mouse_x, main.mouse_y, t, s, p,
        static_cast<unsigned long long>(lists.value), hash_canvas(main.back_dc),
        hash_canvas(main.window->surface), hash_canvas(gun.back_dc),
        hash_canvas(gun.window ? gun.window->surface : nullptr),
        static_cast<unsigned long long>(texts.value), static_cast<unsigned long long>(table.value));
    trace->push_back(line);
}

// Each figure of a line that differs from the recorded one, by its name: "name value" pairs
// after the colon.
std::string figures_differing(const std::string& now, const std::string& then) {
    std::string said;
    std::istringstream a(now.substr(now.find(':') + 1)), b(then.substr(then.find(':') + 1));
    for (std::string name, value, recorded_name, recorded_value; a >> name && b >> recorded_name;)
        if (name != "|" && a >> value && b >> recorded_value && value != recorded_value)
            said += name + " is " + value + " where the recording has " + recorded_value + "; ";
    return said.substr(0, said.size() - 2);
}

// The first object that differs from the recorded ones, in words.
std::string object_differing(const std::vector<std::string>& recorded) {
    for (size_t i = 0; i < std::min(objects.size(), recorded.size()); ++i) {
        const std::string who = objects[i].substr(0, objects[i].find(':'));
        if (who != recorded[i].substr(0, recorded[i].find(':')))
            return "; at " + who + " the recording has " +
                   recorded[i].substr(0, recorded[i].find(':'));
        if (objects[i] != recorded[i])
            return "; at " + who + ", " + figures_differing(objects[i], recorded[i]);
    }
    return ""; // as many as recorded, or some more or fewer at the very end
}

// How a line of the trace differs from the recorded one, in words: at which note, and each
// figure of the game's state that differs, by its name; or the platform or sound calls.
std::string difference(const std::vector<std::string>& trace,
                       const std::vector<std::string>& recorded, size_t at) {
    const auto is_call = [](const std::string& line) { return line.rfind("  ", 0) == 0; };
    size_t noted = at;
    while (noted < recorded.size() && is_call(recorded[noted]))
        ++noted; // calls come before the note they lead to
    const std::string& now = trace[at];
    const std::string& then = recorded[at];
    std::string said =
        (noted == at ? "at the note \"" : "in the calls before the note \"") +
        (noted < recorded.size() ? recorded[noted].substr(0, recorded[noted].find(':'))
                                 : std::string("end")) +
        "\": ";
    if (is_call(now) || is_call(then))
        return said + "the call \"" + now.substr(now.find_first_not_of(' ')) +
               "\" where the recording has \"" + then.substr(then.find_first_not_of(' ')) + "\"";
    return said + figures_differing(now, then);
}

std::vector<std::string> read_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void write_lines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path);
    for (const std::string& line : lines)
        out << line << "\n";
}

TEST(GameJourney, MatchesTheRecordedTrace) {
    FreshGame fresh;
    // The help picture and the level-up sound are missing: black behind the help, no sound.
    // The volumes kept from before: music out of range, which the first tick brings to 255.
    fake::state().missing_files = {"f1bg.bmp", "yeah.wav"};
    write_bytes("config.dat", {0x2C, 0x01, 0, 0, 3, 0, 0, 0});
    Journey j;
    std::vector<std::string> trace;
    j.on_note = [&trace](const std::string& why) { note(&trace, why); };
    ASSERT_EQ(running, 1);
    j.pass(); // not yet active: the loop waits and draws nothing
    note(&trace, "inactive");

    j.post(MessageKind::activate_app, 1);
    j.pass();
    note(&trace, "active");
    j.key(vk_f8);     // the frame rate, in the text state the back buffer starts with
    j.passes_of(230); // the first target appears on tick 201
    for (int i = 0; i < 900 && !j.fire_at_lowest(); ++i)
        j.pass(); // until the target comes within the gun's reach
    while (shot_list.first != nullptr)
        j.pass();
    j.click(20, 380); // a miss: 1 hit in 2 shots
    play_until_level(j, 2);
    fake::state().music_finished = true; // the module ends and starts again
    j.passes_of(3);

    // Pause, with a click that must not fire, and the overlay over the frozen game.
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
    j.key(vk_f5);
    j.click(300, 300);
    j.key(vk_letter('P')); // pauses the game under the hi-score screen
    j.key(vk_escape);
    j.key(vk_letter('P'));
    j.key(vk_f7);
    j.click(300, 100);
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
    j.post(MessageKind::sized, size_minimised, 0);
    j.post(MessageKind::activate_app, 0);
    j.passes_of(3);
    j.post(MessageKind::activate_app, 1); // before the window says it is back: the gun comes too
    j.post(MessageKind::sized, size_restored, make_lparam(400, 400));
    j.pass(5000000);
    j.post(MessageKind::sized, size_minimised, 0, gun_view);
    j.post(MessageKind::sized, size_restored, make_lparam(100, 150), gun_view);
    j.pass();
    note(&trace, "back");
    j.pass(60000000); // a minute stopped: one second of play, 100 ticks
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
    j.click(200, 200); // the gun is silent once the game is over

    // The name: "a", Shift+B, a space, q held over a and a Backspace, keys held over passes,
    // and more letters than the row takes; Enter saves.
    j.keys("+a|-a+^+b|-b-^+_-_+q+a|-q-a+<||-<+b|-b+b+b+b|-b|+b-b+b-b+b-b+b-b+b-b+b-b|");
    note(&trace, "typed");
    j.keys("+=|-=|"); // Enter
    j.key(vk_f5);
    j.key(vk_space);

    // A second game that scores nothing: no row, and P does nothing once it is over.
    j.key(vk_f2);
    j.key(vk_letter('P'));
    j.key(vk_f2); // a new game from the pause is not paused
    j.click(10, 10);
    play_until_over(j);
    j.key(vk_letter('P'));
    j.key(vk_f12);
    note(&trace, "end");

    const std::string path = std::string(ZARNOK_TRACE_DIR) + "/game_journey.trace";
    const std::string objects_path = std::string(ZARNOK_TRACE_DIR) + "/game_journey.objects";
    if (std::getenv("ZARNOK_RECORD_TRACE") != nullptr) {
        write_lines(path, trace);
        write_lines(objects_path, objects);
    }
    const std::vector<std::string> recorded = read_lines(path);
    const size_t common = std::min(recorded.size(), trace.size());
    for (size_t i = 0; i < common; ++i)
        if (trace[i] != recorded[i])
            FAIL() << difference(trace, recorded, i) << object_differing(read_lines(objects_path))
                   << " (line " << i + 1 << " of " << path << ")";
    EXPECT_EQ(trace.size(), recorded.size()) << path;
}

// Names typed over the game-over picture of the real loop: Shift as it was at each press, the
// keypad, Backspace past the name's start, and nothing typed after Enter, behind a side screen
// or in the next game. (Keys at any speed and overlapping are the journey's own.)
TEST(GameJourney, NamesTypedOverTheRealLoop) {
    const std::pair<const char*, const char*> cases[] = {
        {"@+^+z-z-^+a-a+>+r|-r->+n-n|", "ZaRn"}, // Shift as it was at each press
        {"@+^+z-^+a|-z-a|+_+*+p-p-*-_|", "Za *p"},
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

} // namespace
