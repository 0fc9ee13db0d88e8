// A pad in the real loop on the fake platform: what its buttons do on each screen, and a name
// typed with its D-pad.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "audio/sound.h"
#include "game/entities.h"
#include "platform/window.h"
#include "store/hiscores.h"
#include "tests/unit/journey.h"
#include "tests/unit/unit_support.h"
#include "world/state.h"

namespace {

// Buttons by a letter each: A, Start, Back, B, Y, the right trigger, the right shoulder, the
// D-pad's arrows.
PadButton button_of(char letter) {
    constexpr std::pair<char, PadButton> letters[] = {
        {'S', PadButton::start},
        {'K', PadButton::back},
        {'B', PadButton::b},
        {'Y', PadButton::y},
        {'T', PadButton::right_trigger},
        {'R', PadButton::right_shoulder},
        {'^', PadButton::dpad_up},
        {'v', PadButton::dpad_down},
        {'<', PadButton::dpad_left},
        {'>', PadButton::dpad_right},
    };
    for (const auto& [named, button] : letters)
        if (named == letter)
            return button;
    return PadButton::a;
}

// The button goes down or up, the pad aiming at the view's middle.
void tell(Journey& j, char button, bool pressed) {
    j.post(MessageKind::pad_button,
           static_cast<uint32_t>(button_of(button)) | (pressed ? pad_pressed : 0),
           make_lparam(200, 150));
}

// Plays a script of buttons, each pressed and let go within a pass: "." waits a second, and "h"
// holds the button after it down for two seconds, a pass at a time.
void play_pad(Journey& j, const char* script) {
    for (const char* at = script; *at != '\0'; ++at) {
        if (*at == '.') {
            j.passes_of(100);
        } else if (*at == 'x') { // the pad pulled out
            j.post(MessageKind::pad_removed);
            j.pass();
        } else if (*at == 'h') {
            tell(j, *++at, true);
            j.passes_of(200);
            tell(j, *at, false);
            j.pass();
        } else {
            tell(j, *at, true);
            tell(j, *at, false);
            j.pass();
        }
    }
}

// The screen the player sees, and what the buttons changed besides.
std::string shown(int32_t sound_at_start) {
    std::string scene = help_shown       ? "help"
                        : hiscores_shown ? "hiscores"
                        : about_shown    ? "about"
                        : game_over      ? "over"
                                         : "play";
    if (paused)
        scene += " paused";
    if (shots_fired > 0)
        scene += " fired";
    if (sound_volume != sound_at_start)
        scene += " sound " + std::to_string(sound_volume - sound_at_start);
    return scene;
}

// Start pauses and goes on, and after a game over starts the next; Back goes round the side
// screens and B leaves them; A and the trigger fire; Y starts afresh; a pad pulled out pauses
// play and nothing else.
TEST(Pad, ButtonsDoWhatTheScreenShownMeans) {
    const struct {
        const char* script;
        bool game_ended;
        const char* expected;
    } cases[] = {
        {"S", false, "play paused"}, {"SS", false, "play"},        {"S", true, "play"},
        {"K", false, "help"},        {"KK", false, "hiscores"},    {"KKK", false, "about"},
        {"KKKK", false, "help"},     {"KKB", false, "play"},       {"A", false, "play fired"},
        {"T", false, "play fired"},  {"SY", false, "play"},        {"R", false, "play sound 10"},
        {"x", false, "play paused"}, {"Sx", false, "play paused"}, {"x", true, "over"},
        {"Kx", false, "help"},       {"KKx", false, "hiscores"},
    };
    for (const auto& c : cases) {
        FreshGame fresh;
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.pass();
        game_over = c.game_ended ? 1 : 0;
        const int32_t sound_at_start = sound_volume;
        play_pad(j, c.script);
        EXPECT_EQ(shown(sound_at_start), c.expected) << c.script << (c.game_ended ? " ended" : "");
    }
}

// While a name is typed, up and down choose a character from A, right moves on and left takes
// one back; Start or A saves a name begun, A only once the name's first second is over (a shot
// meant for the last target), and an empty name only by Start held for a second.
TEST(Pad, TheDPadTypesAName) {
    const struct {
        const char* script;
        const char* name;
        bool saved;
    } cases[] = {
        {"v>^^^<^S", "AA", true}, {"^A", "A", false}, {"^.A", "A", true}, {".S", "", false},
        {".hS", "", true},        {"h^", "o", false}, {"vv", "~", false}, {"^>^<<S", "", false},
    };
    for (const auto& c : cases) {
        FreshGame fresh;
        Journey j;
        j.post(MessageKind::activate_app, 1);
        j.pass();
        game_over = entering_name = new_rank = 1;
        name_length = 0;
        hiscores[1].name[0] = '\0';
        j.pass();
        play_pad(j, c.script);
        EXPECT_STREQ(hiscores[1].name, c.name) << c.script;
        EXPECT_EQ(entering_name == 0, c.saved) << c.script;
    }
}

} // namespace
