// The pad's buttons, pressed as keys of a US keyboard and clicks of the mouse, through the queue.
#include "app/pad_controls.h"

#include "app/key_hook.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/us_keyboard.h"
#include "world/state.h"

namespace {

// A key as its messages carry it: its virtual-key code and its set-1 scan code (the top bit for
// a key of the extended set).
struct Key {
    uint32_t vk, scan;
};
constexpr uint32_t extended = 0x80;
constexpr Key key_p{vk_letter('P'), 25}, key_f1{vk_f1, 59}, key_f2{vk_f2, 60}, key_f5{vk_f5, 63},
    key_f7{vk_f7, 65}, key_escape{vk_escape, 1}, key_enter{vk_return, 28},
    key_backspace{vk_back, 14}, key_shift{vk_shift, 42}, key_page_up{vk_prior, extended | 73},
    key_page_down{vk_next, extended | 81}, key_home{vk_home, extended | 71},
    key_end{vk_end, extended | 79};

// The keys the other buttons press.
struct ButtonKey {
    PadButton button;
    Key key;
};
constexpr ButtonKey button_keys[] = {
    {PadButton::b, key_escape},
    {PadButton::y, key_f2},
    {PadButton::left_shoulder, key_page_down},
    {PadButton::right_shoulder, key_page_up},
    {PadButton::dpad_up, key_home},
    {PadButton::dpad_down, key_end},
};

constexpr PadButton no_button = static_cast<PadButton>(0xFF);

// What the game shows, and while a name is typed: when the typing began, the character being
// chosen (an index into typed_order, or -1), the D-pad button held down, which steps again and
// again, and whether and since when Start has been held on a name still empty (milliseconds).
PadScene scene = PadScene::play;
double naming_began;
int chosen = -1;
PadButton held_button = no_button;
double held_since, repeat_at;
bool start_held;
double start_held_since;

// A press of A in the last second of play was meant as a shot, not as the name's end; and an
// empty name takes Start held for a second, not a press by chance.
constexpr double naming_calm = 1000, empty_name_hold = 1000;
// The D-pad steps again after 400 ms held, every 100 ms, and from a second on every 30 ms.
constexpr double first_repeat = 400, slow_repeat = 100, fast_repeat = 30, fast_after = 1000;

// Every character the keyboard types, in the order the D-pad steps through them.
constexpr char typed_order[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 "
                               "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr int typed_count = sizeof typed_order - 1;

double now_ms() {
    return static_cast<double>(perf_counter()) * 1000.0 / static_cast<double>(perf_frequency());
}

void post_key(Key key, bool down) {
    post_message(views[main_view].window,
                 down ? MessageKind::key_pressed : MessageKind::key_released, key.vk,
                 key_lparam(key.scan, !down));
}

void press(Key key, bool shifted = false) {
    if (shifted)
        post_key(key_shift, true);
    post_key(key, true);
    post_key(key, false);
    if (shifted)
        post_key(key_shift, false);
}

// Presses the key that types `c` on a US keyboard, as the name entry reads it.
void type(char c) {
    int32_t scan = 0;
    bool shifted = false;
    if (char_to_scan_code(c, &scan, &shifted))
        press({scan_code_to_virtual_key(scan), static_cast<uint32_t>(scan)}, shifted);
}

// Up and down replace the character being chosen by the next or the one before; the first
// one chosen is A, whichever way.
void step_character(int step) {
    if (chosen >= 0)
        press(key_backspace);
    chosen = chosen < 0 ? 0 : (chosen + step + typed_count) % typed_count;
    type(typed_order[chosen]);
}

void end_name() {
    press(key_enter);
    chosen = -1;
}

// The D-pad types while a name is taken: up and down choose a character, right moves on to the
// next, left takes one back; A and Start save the name. False for the buttons it leaves alone.
bool type_with(PadButton button) {
    const double now = now_ms();
    const bool name_started = name_length > 0 || chosen >= 0;
    switch (button) {
    case PadButton::dpad_up:
    case PadButton::dpad_down:
        step_character(button == PadButton::dpad_up ? 1 : -1);
        held_button = button;
        held_since = now;
        repeat_at = now + first_repeat;
        return true;
    case PadButton::dpad_right:
        chosen = -1;
        return true;
    case PadButton::dpad_left:
        press(key_backspace);
        chosen = -1;
        return true;
    case PadButton::a:
        if (name_started && now >= naming_began + naming_calm)
            end_name();
        return true;
    case PadButton::start:
        if (name_started) {
            end_name();
        } else { // held on a name still empty, it saves the empty name
            start_held = true;
            start_held_since = now;
        }
        return true;
    default:
        return false;
    }
}

void button_down(PadButton button, uint32_t aim) {
    if (button == PadButton::right_trigger) {
        post_message(views[main_view].window, MessageKind::left_button_down, 0, aim);
        return;
    }
    if (scene == PadScene::naming && type_with(button))
        return;
    if (button == PadButton::a)
        post_message(views[main_view].window, MessageKind::left_button_down, 0, aim);
    // Start pauses, and at a game over starts the next; Back goes through the side screens.
    if (button == PadButton::start)
        press(scene == PadScene::game_ended ? key_f2 : key_p);
    if (button == PadButton::back)
        press(scene == PadScene::help_page       ? key_f5
              : scene == PadScene::hiscore_table ? key_f7
                                                 : key_f1);
    for (const ButtonKey& k : button_keys)
        if (k.button == button)
            press(k.key);
}

// What the player sees.
PadScene scene_shown() {
    if (help_shown)
        return PadScene::help_page;
    if (hiscores_shown)
        return PadScene::hiscore_table;
    if (about_shown)
        return PadScene::about_page;
    if (name_entry_listens())
        return PadScene::naming;
    if (game_over)
        return PadScene::game_ended;
    return paused ? PadScene::paused_play : PadScene::play;
}

// A new screen starts the buttons afresh; a name's typing begins when its row is shown.
void look_at_screen() {
    if (const PadScene shown = scene_shown(); shown != scene) {
        if (shown == PadScene::naming)
            naming_began = now_ms();
        scene = shown;
        chosen = -1;
        held_button = no_button;
        start_held = false;
    }
}

} // namespace

void pad_message(const Message& message) {
    look_at_screen(); // a button pressed in the pass the game ended means the end
    if (message.kind == MessageKind::pad_removed) {
        // A pad lost in play pauses the game; anywhere else it is let go quietly.
        if (scene == PadScene::play)
            press(key_p);
        return;
    }
    const auto button = static_cast<PadButton>(message.wparam & ~pad_pressed);
    if ((message.wparam & pad_pressed) != 0) {
        button_down(button, message.lparam);
        return;
    }
    if (button == held_button)
        held_button = no_button;
    if (button == PadButton::start)
        start_held = false;
}

void step_pad_controls() {
    look_at_screen();
    if (held_button == no_button && !start_held)
        return;
    const double now = now_ms();
    if (held_button != no_button && now >= repeat_at) {
        step_character(held_button == PadButton::dpad_up ? 1 : -1);
        repeat_at += now - held_since >= fast_after ? fast_repeat : slow_repeat;
    }
    if (start_held && now >= start_held_since + empty_name_hold) {
        start_held = false;
        end_name();
    }
}

void reset_pad_controls() {
    scene = PadScene::play;
    chosen = -1;
    held_button = no_button;
    start_held = false;
    start_held_since = naming_began = held_since = repeat_at = 0;
}
