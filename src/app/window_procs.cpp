// Window messages: moves and sizes, activation, the mouse, and the keys on their release.
#include "app/window_procs.h"

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/new_game.h"
#include "app/shutdown.h"
#include "audio/sound.h"
#include "game/shots.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "world/state.h"

ScreenPoint saved_cursor;
ScreenRect cursor_clip;

namespace {

bool playing_field_has_cursor() {
    return !paused && !side_screen_shown() && !game_over;
}

void update_cursor_clip() {
    const View& view = views[main_view];
    cursor_clip = {view.x, view.y, view.x + view.width, view.y + view.height - 1};
}

void activate() {
    install_key_hook();
    app_active = 1;
    if (!running)
        return;
    // A recorded game being watched does not take the watcher's windows or focus.
    if (playing == Playing::live) {
        if (views[gun_view].minimised) {
            restore_window(views[gun_view].window);
            views[gun_view].minimised = 0;
        }
        // Keys work at once, whichever window the focus came back to.
        raise_window(views[main_view].window);
    }
    if (!paused)
        clip_cursor(&cursor_clip);
    // The time spent away is never simulated.
    clock_now = game_counter();
    ticks_due = 0;
    clock_last = clock_now;
}

void deactivate() {
    remove_key_hook();
    clip_cursor(nullptr);
    app_active = 0;
}

void toggle_pause() {
    if (game_over || help_shown || about_shown)
        return;
    if (!paused) {
        paused = 1;
        saved_cursor = get_cursor_pos();
        clip_cursor(nullptr);
        show_cursor(true);
    } else {
        paused = 0;
        set_cursor_pos(saved_cursor);
        clip_cursor(&cursor_clip);
        show_cursor(false);
        restart_clock();
    }
}

void show_side_screen(int32_t* flag, Canvas* bitmap) {
    help_shown = 0;
    hiscores_shown = 0;
    about_shown = 0;
    *flag = 1;
    saved_cursor = get_cursor_pos();
    background_dc = bitmap;
}

// F2 gives a fresh game in any state. The reset itself leaves the cursor and the background
// alone, so a side screen is left and a pause ended here, as their own keys would, and the
// cursor goes back into the field for the new game.
void restart_game() {
    if (side_screen_shown()) {
        background_dc = bg_bitmap;
        set_cursor_pos(saved_cursor);
    }
    if (paused) {
        set_cursor_pos(saved_cursor);
        show_cursor(false);
    }
    clip_cursor(&cursor_clip);
    new_game();
}

// A window went down: its partner goes down with it.
void minimise_partner(View* view, View* partner) {
    view->minimised = 1;
    if (!partner->minimised) {
        partner->minimised = 1;
        minimise_window(partner->window);
    }
}

// A window that was minimised is back: its partner comes back with it.
void restore_partner(View* view, View* partner) {
    if (!view->minimised)
        return;
    view->minimised = 0;
    if (partner->minimised) {
        partner->minimised = 0;
        restore_window(partner->window);
    }
}

void key_released(uint32_t key) {
    switch (key) {
    case vk_prior:
        set_volumes(-1, sound_volume + 10);
        break;
    case vk_next:
        set_volumes(-1, sound_volume - 10 < 0 ? 0 : sound_volume - 10);
        break;
    case vk_end:
        set_volumes(music_volume - 10 < 0 ? 0 : music_volume - 10, -1);
        break;
    case vk_home:
        set_volumes(music_volume + 10, -1);
        break;
    case vk_letter('P'):
        toggle_pause();
        break;
    case vk_f1:
        show_side_screen(&help_shown, help_bitmap);
        break;
    case vk_f2:
        restart_game();
        break;
    case vk_f5:
        show_side_screen(&hiscores_shown, hiscore_bitmap);
        break;
    case vk_f7:
        show_side_screen(&about_shown, about_bitmap);
        break;
    case vk_f8:
        show_fps = show_fps == 0 ? 1 : 0;
        break;
    case vk_f11:
        toggle_fullscreen(views[main_view].window);
        break;
    case vk_f12:
        send_message(views[main_view].window, MessageKind::destroy, 0, 0);
        break;
    default:
        if (side_screen_shown())
            leave_side_screen();
        break;
    }
}

} // namespace

void leave_side_screen() {
    help_shown = 0;
    hiscores_shown = 0;
    about_shown = 0;
    background_dc = bg_bitmap;
    set_cursor_pos(saved_cursor);
    restart_clock();
}

uint32_t main_window_proc(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    View& view = views[main_view];
    switch (kind) {
    case MessageKind::moved:
        view.x = signed_low_word(lparam);
        view.y = signed_high_word(lparam);
        update_cursor_clip();
        if (playing_field_has_cursor())
            clip_cursor(&cursor_clip);
        return 0;
    case MessageKind::sized:
        if (wparam == size_minimised) {
            minimise_partner(&view, &views[gun_view]);
        } else {
            view.width = static_cast<int32_t>(low_word(lparam));
            view.height = static_cast<int32_t>(high_word(lparam));
            restore_partner(&view, &views[gun_view]);
        }
        return 0;
    case MessageKind::paint:
        return 0;
    case MessageKind::activate_app:
        if (low_word(wparam) == 1)
            activate();
        else if (low_word(wparam) == 0)
            deactivate();
        return 0;
    case MessageKind::key_released:
        key_released(wparam);
        return 0;
    case MessageKind::mouse_move:
        view.mouse_x = static_cast<int32_t>(low_word(lparam));
        view.mouse_y = static_cast<int32_t>(high_word(lparam));
        return 0;
    case MessageKind::left_button_down:
        fire_shot();
        return 0;
    case MessageKind::destroy:
        shut_down();
        return 0;
    default:
        return default_window_proc(window, kind, wparam, lparam);
    }
}

uint32_t gun_window_proc(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam) {
    View& view = views[gun_view];
    switch (kind) {
    case MessageKind::moved:
        view.x = signed_low_word(lparam);
        view.y = signed_high_word(lparam);
        return 0;
    case MessageKind::sized:
        view.width = static_cast<int32_t>(low_word(lparam));
        view.height = static_cast<int32_t>(high_word(lparam));
        // The two windows go down and come back together.
        if (wparam == size_minimised)
            minimise_partner(&view, &views[main_view]);
        else
            restore_partner(&view, &views[main_view]);
        return 0;
    default:
        return default_window_proc(window, kind, wparam, lparam);
    }
}

void make_window_class(const char* class_name, WindowProc proc, CursorShape cursor) {
    register_window_class(class_name, proc, cursor);
}
