// Two lines centred over the main view, the first thickened by a second copy of it.
#include "app/overlay.h"

#include <cstdio>
#include <cstring>

#include "app/clock.h"
#include "app/game_record.h"
#include "platform/text.h"
#include "store/hiscores.h"
#include "world/random.h"
#include "world/state.h"

Colour overlay_colour;
int64_t overlay_changed_at;

namespace {

void draw_line(Canvas* canvas, int32_t x, int32_t y, const char* text) {
    draw_text(canvas, x, y, text, static_cast<int32_t>(std::strlen(text)));
}

void draw_lines(Canvas* canvas, Colour colour, const char* first, const char* second) {
    const View& view = views[main_view];
    canvas->background_mode = BackgroundMode::transparent;
    canvas->text_colour = colour;
    canvas->align = TextAlign::centre_top;
    const int32_t cx = view.width / 2;
    const int32_t cy = view.height / 2;
    draw_line(canvas, cx, cy - 25, first);
    draw_line(canvas, cx - 1, cy - 26, first);
    draw_line(canvas, cx, cy - 5, second);
    canvas->align = TextAlign::left_top;
}

// A value of the generator as a level of one colour channel in its upper half: whatever the
// three values, the text stands out at least 4.5 to 1 from the dark picture behind it.
uint32_t bright_level() {
    return 128 + static_cast<uint32_t>(next_random() % 256) / 2;
}

} // namespace

void change_overlay_colour() {
    const int64_t now = game_counter();
    if (overlay_changed_at != 0 && counts_between(overlay_changed_at, now) < game_frequency() / 3)
        return;
    overlay_changed_at = now;
    const uint32_t green = bright_level();
    const uint32_t red = bright_level();
    const uint32_t blue = bright_level();
    overlay_colour = rgb(red, green, blue);
}

void draw_overlay(Canvas* canvas, bool naming) {
    char first[64];
    char second[64];
    if (naming) {
        std::snprintf(first, sizeof first, "THAT'S A NEW HI-SCORE!  YOU RANK #%d!", new_rank + 1);
        std::snprintf(second, sizeof second, "Enter your name: %.11s", hiscores[new_rank].name);
    } else if (game_over) {
        std::snprintf(first, sizeof first, "G A M E   O V E R");
        std::snprintf(second, sizeof second, "press F2 to restart");
    } else {
        std::snprintf(first, sizeof first, "P A U S E D");
        std::snprintf(second, sizeof second, "press 'p' to resume");
    }
    draw_lines(canvas, overlay_colour, first, second);
}

void draw_watcher_pause(Canvas* canvas) {
    draw_lines(canvas, rgb(255, 255, 255), "P A U S E D", "press 'p' to watch on");
}
