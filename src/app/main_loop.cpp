// The entry routine, the idle work of each pass and the overlay text.
#include "app/main_loop.h"

#include <cstdio>
#include <cstring>

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/name_entry.h"
#include "app/startup.h"
#include "app/window_procs.h"
#include "platform/input.h"
#include "platform/text.h"
#include "render/compose_frame.h"
#include "render/gun_view.h"
#include "screens/about_screen.h"
#include "screens/help_screen.h"
#include "screens/hiscore_screen.h"
#include "store/hiscores.h"
#include "world/random.h"
#include "world/state.h"

namespace {

void draw_line(Canvas* canvas, int32_t x, int32_t y, const char* text) {
    draw_text(canvas, x, y, text, static_cast<int32_t>(std::strlen(text)));
}

// A value of the generator as a level of one colour channel in its upper half: whatever the
// three values, the text stands out at least 4.5 to 1 from the dark picture behind it.
uint32_t bright_level() {
    return 128 + static_cast<uint32_t>(next_random() % 256) / 2;
}

// What the player sees, for a pad to read its buttons by.
PadScene pad_scene() {
    if (help_shown)
        return PadScene::help;
    if (hiscores_shown)
        return PadScene::hiscores;
    if (about_shown)
        return PadScene::about;
    if (name_entry_listens())
        return PadScene::naming;
    if (game_over)
        return PadScene::game_over;
    return paused ? PadScene::paused : PadScene::play;
}

} // namespace

Colour overlay_colour;
int64_t overlay_changed_at;

void draw_overlay() {
    const View& view = views[main_view];
    Canvas* canvas = get_window_canvas(view.window);
    if (canvas == nullptr)
        return;
    canvas->background_mode = BackgroundMode::transparent;
    // A new colour at most three times a second: one a frame would strobe, a hazard for
    // players sensitive to flashing light. Its values are drawn only when it changes.
    const int64_t now = game_counter();
    if (overlay_changed_at == 0 ||
        counts_between(overlay_changed_at, now) >= game_frequency() / 3) {
        overlay_changed_at = now;
        const uint32_t green = bright_level();
        const uint32_t red = bright_level();
        const uint32_t blue = bright_level();
        overlay_colour = rgb(red, green, blue);
    }
    canvas->text_colour = overlay_colour;
    canvas->align = TextAlign::centre_top;

    char first[64];
    char second[64];
    if (game_over && entering_name) {
        name_entry_step();
        std::snprintf(first, sizeof first, "THAT'S A NEW HI-SCORE!  YOU RANK #%d!", new_rank + 1);
        std::snprintf(second, sizeof second, "Enter your name: %.11s", hiscores[new_rank].name);
    } else if (game_over) {
        std::snprintf(first, sizeof first, "G A M E   O V E R");
        std::snprintf(second, sizeof second, "press F2 to restart");
    } else {
        std::snprintf(first, sizeof first, "P A U S E D");
        std::snprintf(second, sizeof second, "press 'p' to resume");
    }
    const int32_t cx = view.width / 2;
    const int32_t cy = view.height / 2;
    draw_line(canvas, cx, cy - 25, first);
    draw_line(canvas, cx - 1, cy - 26, first); // a second copy thickens the first line
    draw_line(canvas, cx, cy - 5, second);
    canvas->align = TextAlign::left_top;
    release_window_canvas(view.window, canvas);
}

void idle_work() {
    note_pass();
    set_pad_scene(pad_scene(), name_length == 0);
    if (!paused && !side_screen_shown())
        run_ticks();
    if (!side_screen_shown()) {
        compose_main_frame();
        draw_gun_view();
    }
    if ((game_over || paused) && !side_screen_shown()) {
        draw_overlay();
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
            handle_message(message);
            continue;
        }
        if (app_active && running)
            idle_work();
        else
            wait_for_message(); // nothing is drawn while inactive, so there is nothing to spin for
    }
    keep_last_game();
    return static_cast<int>(message.wparam);
}
