// The fixture behind most unit tests.
#include "tests/unit/game_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "app/clock.h"
#include "app/key_hook.h"
#include "app/random.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/window_procs.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/input.h"
#include "store/hiscores.h"

void reset_game_globals() {
    running = quit_requested = app_active = paused = 0;
    help_shown = hiscores_shown = about_shown = game_over = entering_name = show_fps = 0;
    new_rank = name_length = last_name_key = 0;
    views[0] = View{};
    views[1] = View{};
    background_dc = bg_bitmap = help_bitmap = hiscore_bitmap = about_bitmap = nullptr;
    gun_model = Object3D{};
    aim_cubes = nullptr;
    for (Object3D& bar : floor_bars)
        bar = Object3D{};
    clear_targets();
    clear_shots();
    clear_particles();
    reset_gameplay_state();
    live_targets = 0;
    std::fill(std::begin(key_down), std::end(key_down), 0);
    keyboard_hook = nullptr;
    saved_cursor = {};
    cursor_clip = {};
    clock_frequency = clock_now = clock_last = clock_accumulator = tick_length = 0;
    ticks_due = frames_per_second = 0;
    random_state = 0;
    music_track = -1;
    music_module = nullptr;
    music_volume = sound_volume = 128;
    for (SoundSlot& slot : sound_samples)
        slot.handle = nullptr;
    hiscores = builtin_hiscores;
}

void GameTest::SetUp() {
    previous_directory = std::filesystem::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory = std::filesystem::temp_directory_path() /
                ("zarnok-unit-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                 info->name());
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    fake::reset();
    reset_game_globals();
}

void GameTest::TearDown() {
    if (views[main_view].back_dc != nullptr)
        shut_down(); // releases what start-up made; the fake's exit returns
    reset_game_globals();
    fake::reset();
    std::filesystem::current_path(previous_directory);
    std::filesystem::remove_all(directory);
}

void GameTest::start_game() {
    init_game();
    show_cursor(false); // as the entry routine does right after start-up
    send_to_main(MessageKind::activate_app, 1);
}

void GameTest::send_to_main(MessageKind kind, uint32_t wparam, uint32_t lparam) {
    send_message(views[main_view].window, kind, wparam, lparam);
}

void GameTest::press_and_release(uint32_t virtual_key) {
    send_to_main(MessageKind::key_down, virtual_key, 1);
    send_to_main(MessageKind::key_up, virtual_key, 1 | (3u << 30));
}

std::vector<uint8_t> GameTest::file_bytes(const std::string& name) const {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void GameTest::write_file(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
