// init_game, step by step. The windows tell their procedures their sizes and positions as they
// are made and moved, and the later steps read the values so recorded.
#include "app/startup.h"

#include "app/new_game.h"
#include "app/window_procs.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/bitmap.h"
#include "platform/data_file_names.h"
#include "render/window_icon.h"
#include "store/config.h"
#include "store/hiscores.h"
#include "store/kept_replays.h"
#include "world/state.h"

namespace {

void open_windows() {
    make_window_class("mainwindowclass", main_window_proc, CursorShape::cross);
    views[main_view].window = create_window("mainwindowclass", "Zarnok 3D v" ZARNOK_VERSION,
                                            use_default_position, use_default_position, 400, 400);
    make_window_class("gunwindowclass", gun_window_proc, CursorShape::arrow);
    views[gun_view].window = create_window("gunwindowclass", "Gun", use_default_position,
                                           use_default_position, 100, 150);
    for (View& view : views)
        show_window(view.window, true);

    View& main = views[main_view];
    View& gun = views[gun_view];
    show_window(main.window, false);
    const SystemMetrics metrics = system_metrics();
    move_window(main.window, metrics.screen_width / 2 - main.width / 2,
                metrics.screen_height / 2 - main.height / 2, main.width, main.height);
    move_window(gun.window, main.x - gun.width, main.y, gun.width, gun.height);
    show_window(main.window, true);

    for (View& view : views) {
        view.back_dc = create_back_buffer(view.width, view.height);
        fill_rect(view.back_dc, 0, 0, view.width, view.height, rgb(0, 0, 0));
    }
}

void build_fixed_objects() {
    const View& gun = views[gun_view];
    make_box(static_cast<float>(gun.width / 2), static_cast<float>(gun.height / 2), -80.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 30.0f, 30.0f, 80.0f, &gun_model);
    set_colour(&gun_model, 0, 0, 255);

    const View& main = views[main_view];
    aim_cubes = new Object3D[aim_cube_count]();
    aim_spacing = 15.0f;
    for (int32_t i = 0; i < aim_cube_count; ++i) {
        make_box(static_cast<float>(main.width / 2), static_cast<float>(main.height / 2), 0.0f,
                 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 4.0f, 4.0f, 4.0f, &aim_cubes[i]);
        set_colour(&aim_cubes[i], 0, 255, 0);
    }
}

void build_floor() {
    const View& main = views[main_view];
    for (int32_t k = 0; k < floor_bar_count; ++k) {
        // Farther bars are much wider, so that every bar spans the view once projected.
        const int32_t spread = 25 * (k + 1);
        const int32_t half_width = (field_rect.right - field_rect.left) / 2 + spread * spread;
        make_box(static_cast<float>(main.width / 2), static_cast<float>(field_rect.bottom),
                 static_cast<float>(-25 * k), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                 static_cast<float>(half_width), 10.0f, 20.0f, &floor_bars[k]);
        set_colour(&floor_bars[k], 150 + 100, 86 + 100, 50 + 100);
    }
}

void set_lights_and_eyes() {
    const float main_k = 0.45f, gun_k = 1.0f;
    for (int v = 0; v < 2; ++v) {
        View& view = views[v];
        const float half_w = static_cast<float>(view.width / 2);
        const float half_h = static_cast<float>(view.height / 2);
        view.light = {half_w, half_h, 0.0f, v == main_view ? main_k : gun_k};
        view.eye = {half_w, half_h, 50.0f, 0.0f};
    }
}

void load_backgrounds() {
    const View& main = views[main_view];
    bg_bitmap = load_bitmap(background_file, main.width, main.height);
    help_bitmap = load_bitmap(help_background_file, main.width, main.height);
    hiscore_bitmap = load_bitmap(hiscore_background_file, main.width, main.height);
    about_bitmap = load_bitmap(about_background_file, main.width, main.height);
    background_dc = bg_bitmap;
}

} // namespace

void init_game() {
    open_windows();
    build_fixed_objects();
    shot_list = {};
    start_sound();
    field_rect = {-140, -140, views[main_view].width + 140, views[main_view].height + 140};
    build_floor();
    target_list = {};
    particle_list = {};
    set_lights_and_eyes();
    particle_drift = 0.35f;
    load_backgrounds();
    Canvas* icon = draw_window_icon();
    for (const View& view : views)
        set_window_icon(view.window, icon);
    free_canvas(icon);
    // A watched game takes its table and volumes from its record, and touches no file.
    if (playing == Playing::live) {
        load_hiscores();
        // What a save cut short left of the rows' games is mended; a table that cannot be read
        // is left as it is, and its games with it.
        if (!scores_file_kept)
            match_ranked_replays();
        Volumes volumes{music_volume, sound_volume};
        load_config(&volumes);
        music_volume = volumes.music;
        sound_volume = volumes.sound;
    }
    new_game();
    quit_requested = 0;
    running = 1;
}
