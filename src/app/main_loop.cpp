// The entry routine and the idle work of each pass.
#include "app/main_loop.h"

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/name_entry.h"
#include "app/overlay.h"
#include "app/pad_controls.h"
#include "app/startup.h"
#include "app/window_procs.h"
#include "platform/input.h"
#include "render/compose_frame.h"
#include "render/gun_view.h"
#include "screens/about_screen.h"
#include "screens/help_screen.h"
#include "screens/hiscore_screen.h"
#include "world/state.h"

namespace {

// Over a paused or ended game, its text in its colour of the moment, and the name typed so far
// into a new hi-score's row.
void overlay_pass() {
    const View& view = views[main_view];
    Canvas* canvas = get_window_canvas(view.window);
    if (canvas == nullptr)
        return;
    change_overlay_colour();
    // The frame that takes the name's last key still shows the name as it was typed.
    const bool naming = game_over && entering_name;
    if (naming)
        name_entry_step();
    draw_overlay(canvas, naming);
    release_window_canvas(view.window, canvas);
}

} // namespace

void idle_work() {
    note_pass();
    step_pad_controls();
    if (!paused && !side_screen_shown())
        run_ticks();
    if (!side_screen_shown()) {
        compose_main_frame();
        draw_gun_view();
    }
    if ((game_over || paused) && !side_screen_shown()) {
        overlay_pass();
        return;
    }
    Canvas* back = views[main_view].back_dc;
    if (help_shown)
        draw_help_screen(back);
    else if (hiscores_shown)
        draw_hiscore_screen(back);
    else if (about_shown)
        draw_about_screen(back);
    else
        return;
    blit_window(main_view);
}

int entry_routine() {
    quit_requested = 0;
    running = 0;
    init_game();
    show_cursor(false);
    if (running != 1)
        return 0;
    Message message{};
    while (running == 1) {
        if (quit_requested)
            break;
        if (peek_message(&message)) {
            if (message.kind == MessageKind::quit)
                quit_requested = 1;
            if (message.kind == MessageKind::pad_button || message.kind == MessageKind::pad_removed)
                pad_message(message); // as the keys and clicks it stands for, which come next
            else
                handle_message(message);
            continue;
        }
        // What the pass drew is shown, and the next begins at the next refresh; while inactive
        // nothing is drawn, and the loop waits for a message rather than spin.
        if (app_active && running)
            idle_work();
        present_frame();
        if (!app_active || !running)
            wait_for_message();
    }
    keep_last_game();
    return static_cast<int>(message.wparam);
}
