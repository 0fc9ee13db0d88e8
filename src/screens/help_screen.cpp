// The help screen over f1bg.bmp. It leaves white, transparent, left/top text set.
#include "screens/help_screen.h"

#include "audio/sound.h"
#include "screens/text_lines.h"
#include "world/state.h"

namespace {

struct HelpRow {
    const char* key;
    const char* description;
};

constexpr HelpRow help_rows[] = {
    {"F1:", "displays this screen"},
    {"F2:", "restarts the game"},
    {"P:", "pauses the game"},
    {"MOUSE:", "aims the gun"},
    {"LEFT MOUSE BUTTON:", "fires!"},
    {"END / HOME", "dec/inc music volume"},
    {"PG DOWN / PG UP", "dec/inc sound volume"},
    {"F5:", "displays hi-scores list"},
    {"F7:", "display additional info"},
    {"F8:", "shows fps"},
    {"F12 (or ALT-F4):", "quits :("},
};

} // namespace

int32_t volume_percent(int32_t volume) {
    return volume * 100 / 255;
}

void draw_help_screen(Canvas* back_dc) {
    const View& view = views[main_view];
    const int32_t w = view.width, h = view.height;
    begin_side_screen(back_dc);
    draw_heading(back_dc, w, "HELP");

    back_dc->align = TextAlign::left_top;
    back_dc->text_colour = rgb(0, 255, 0);
    int32_t y = 60;
    for (const HelpRow& row : help_rows) {
        draw_string(back_dc, 20, y, row.key);
        y += 20;
    }
    back_dc->text_colour = rgb(255, 255, 0);
    y = 60;
    for (const HelpRow& row : help_rows) {
        draw_string(back_dc, w / 2 + 20, y, row.description);
        y += 20;
    }

    back_dc->text_colour = rgb(255, 255, 255);
    char line[48];
    std::snprintf(line, sizeof line, "Music Volume: %d%%", volume_percent(music_volume));
    draw_string(back_dc, 10, h - 60, line);
    std::snprintf(line, sizeof line, "Sound Volume: %d%%", volume_percent(sound_volume));
    draw_string(back_dc, 10, h - 45, line);
    draw_string(back_dc, 10, h - 20, "press any key (other than F1) to resume");
}
