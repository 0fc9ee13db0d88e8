// Shared helpers of the unit tests.
#include "tests/unit/unit_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/overlay.h"
#include "app/pad_controls.h"
#include "app/window_procs.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "store/config.h"
#include "store/hiscores.h"
#include "store/replay_file.h"
#include "store/whole_file.h"
#include "tests/fake/fake_platform.h"
#include "world/random.h"
#include "world/state.h"

void reset_game_globals() {
    running = quit_requested = app_active = paused = 0;
    help_shown = hiscores_shown = about_shown = game_over = entering_name = show_fps = 0;
    new_rank = name_length = last_name_key = 0;
    views[0] = views[1] = View{};
    background_dc = bg_bitmap = help_bitmap = hiscore_bitmap = about_bitmap = nullptr;
    gun_model = Object3D{};
    aim_cubes = nullptr;
    std::fill(std::begin(floor_bars), std::end(floor_bars), Object3D{});
    clear_targets();
    clear_shots();
    clear_particles();
    reset_gameplay_state();
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
    scores_file_kept = config_file_kept = sole_saver = false;
    watch_save_steps(nullptr);
    reset_game_record();
    overlay_colour = 0;
    overlay_changed_at = 0;
    playing = Playing::live;
    reset_pad_controls();
}

FreshGame::FreshGame() : previous(std::filesystem::current_path().string()) {
    // A name no other run of the tests has, made afresh.
    std::random_device seed;
    for (;;) {
        folder = (std::filesystem::temp_directory_path() /
                  ("zarnok-unit-" + std::to_string(seed()) + std::to_string(seed())))
                     .string();
        if (std::filesystem::create_directory(folder))
            break;
    }
    std::filesystem::current_path(folder);
    fake::reset();
    reset_game_globals();
}

FreshGame::~FreshGame() {
    reset_game_globals();
    fake::reset();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes game_that_made_row(const Bytes& table, int32_t row) {
    Replay game;
    game.start.frequency = 1000;
    std::copy(table.begin(), table.end(), game.end.table);
    std::copy(table.begin(), table.end(), game.start.table);
    game.start.table[20 * row] ^= 1;
    return encode_replay(game);
}
