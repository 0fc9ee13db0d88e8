// Points, accuracy, level and hits to the next level: green labels, yellow values.
#include "screens/hud.h"

#include "game/entities.h"
#include "screens/text_lines.h"

void draw_hud(Canvas* back_dc) {
    const BackgroundMode old_mode = back_dc->background_mode;
    back_dc->background_mode = BackgroundMode::transparent;
    const Colour old_colour = back_dc->text_colour;
    back_dc->text_colour = rgb(0, 255, 0);
    draw_string(back_dc, 0, 0, "POINTS:");
    draw_string(back_dc, 0, 20, "ACCURACY:");
    draw_string(back_dc, 0, 40, "LEVEL:");
    draw_string(back_dc, 0, 60, "TO NEXT:");

    back_dc->text_colour = rgb(255, 255, 0);
    char value[24];
    std::snprintf(value, sizeof value, "%u", static_cast<unsigned>(points));
    draw_string(back_dc, 80, 0, value);
    std::snprintf(value, sizeof value, "%d%%", accuracy);
    draw_string(back_dc, 80, 20, value);
    std::snprintf(value, sizeof value, "%d", level);
    draw_string(back_dc, 80, 40, value);
    std::snprintf(value, sizeof value, "%d", to_next);
    draw_string(back_dc, 80, 60, value);

    back_dc->background_mode = old_mode;
    back_dc->text_colour = old_colour;
}
