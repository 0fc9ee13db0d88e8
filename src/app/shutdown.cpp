// The shutdown sequence, in its order. However the game ends (the window closed, F12, a signal,
// the display gone), it ends here.
#include "app/shutdown.h"

#include <initializer_list>

#include "app/game_record.h"
#include "app/name_entry.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "platform/bitmap.h"
#include "platform/input.h"
#include "platform/system.h"
#include "render/floor.h"
#include "store/config.h"
#include "world/state.h"

void shut_down_with(int status) {
    // A display lost in the middle of the ending (a session logging out) ends the game again from
    // inside it, never to come back: the sequence then goes on from the step after the one under
    // way, and no step is done twice.
    static int steps_begun = 0, depth = 0;
    ++depth;
    const auto begin = [](int step) {
        if (steps_begun >= step)
            return false;
        steps_begun = step;
        return true;
    };
    if (begin(1)) {
        clip_cursor(nullptr);
        clear_targets();
        clear_shots();
        clear_particles();
        for (View& view : views) {
            delete_back_buffer(view.back_dc);
            view.back_dc = nullptr;
        }
        for (Object3D& bar : floor_bars)
            free_mesh(&bar);
        forget_floor();
        background_dc = nullptr;
        for (Canvas** bitmap : {&bg_bitmap, &help_bitmap, &hiscore_bitmap, &about_bitmap}) {
            delete_bitmap(*bitmap);
            *bitmap = nullptr;
        }
        stop_sound();
        free_mesh(&gun_model);
        for (int32_t i = 0; i < aim_cube_count; ++i)
            free_mesh(&aim_cubes[i]);
        delete[] aim_cubes;
        aim_cubes = nullptr;
    }
    if (begin(2)) {
        destroy_window(views[gun_view].window);
        views[gun_view].window = nullptr;
    }
    // The player's files first: a disk too full for the replays must not cost them. A watched
    // game saves nothing.
    if (begin(3) && playing == Playing::live)
        save_config({music_volume, sound_volume});
    if (begin(4))
        save_named_row();
    if (begin(5))
        keep_last_game();
    if (begin(6))
        exit_process(status);
    if (--depth == 0) // only where the process goes on after its exit: in tests
        steps_begun = 0;
}

void shut_down() {
    shut_down_with(0);
}
