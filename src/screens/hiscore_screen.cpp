// The hi-score screen over hiscbg.bmp. It leaves orange, transparent, left/top text set.
#include "screens/hiscore_screen.h"

#include "screens/text_lines.h"
#include "store/hiscores.h"
#include "world/state.h"

void draw_hiscore_screen(Canvas* back_dc) {
    const View& view = views[main_view];
    const int32_t tenth = view.width / 10;
    const int32_t quarter = view.height / 4;
    begin_side_screen(back_dc);
    draw_heading(back_dc, view.width, "HI-SCORES");

    back_dc->text_colour = rgb(48, 48, 216);
    const int32_t heading_y = quarter - 30;
    draw_string(back_dc, 2 * tenth, heading_y, "NAME");
    draw_string(back_dc, 3 * tenth + 24, heading_y, "LEVEL");
    draw_string(back_dc, 5 * tenth + 16, heading_y, "ACCURACY");
    draw_string(back_dc, 7 * tenth + 24, heading_y, "POINTS");

    back_dc->align = TextAlign::left_top;
    back_dc->text_colour = rgb(255, 138, 0);
    const auto level_x = static_cast<int32_t>(tenth * 2.5);
    for (int32_t i = 0; i < hiscore_count; ++i) {
        const HiScore& entry = hiscores[i];
        const int32_t y = quarter + 25 * i;
        draw_text(back_dc, tenth, y, entry.name,
                  static_cast<int32_t>(strnlen(entry.name, sizeof entry.name)));
        char text[16];
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(entry.level));
        draw_string(back_dc, level_x, y, text);
        std::snprintf(text, sizeof text, "%u%%", static_cast<unsigned>(entry.accuracy & 0xFF));
        draw_string(back_dc, 5 * tenth, y, text);
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(entry.points));
        draw_string(back_dc, 7 * tenth, y, text);
    }
}
