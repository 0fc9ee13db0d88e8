// The main view's frame: prepare every object, then paint in a fixed order of kinds.
#include "render/compose_frame.h"

#include <cstdio>

#include "platform/text.h"
#include "render/floor.h"
#include "render/scene.h"
#include "screens/hud.h"
#include "world/state.h"

void draw_backdrop() {
    prepare_floor();
    View& view = views[main_view];
    // The rows the floor covers come out the floor's whatever lies under it.
    copy_block(view.back_dc, background_dc, view.width, floor_covers_from());
    draw_hud(view.back_dc);
    draw_floor();
}

void build_main_frame() {
    update_aim_line();
    prepare_targets();
    prepare_shots();
    prepare_particles();

    View& view = views[main_view];
    draw_backdrop();
    if (!game_over)
        draw_aim_line();
    draw_targets();
    draw_shots();
    draw_particles();
    if (show_fps) {
        // The text keeps the colour and background the context has at this point.
        view.back_dc->align = TextAlign::left_top;
        char line[32];
        const int length = std::snprintf(line, sizeof line, "FPS:%d", frames_per_second);
        draw_text(view.back_dc, 0, 300, line, length);
    }
}

void blit_window(int view_index) {
    const View& view = views[view_index];
    Canvas* target = get_window_canvas(view.window);
    if (target == nullptr)
        return;
    copy_block(target, view.back_dc, view.width, view.height);
    release_window_canvas(view.window, target);
}

void compose_main_frame() {
    build_main_frame();
    blit_window(main_view);
}
