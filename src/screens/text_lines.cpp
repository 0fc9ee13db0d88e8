// The start every side screen shares.
#include "screens/text_lines.h"

#include "world/state.h"

void begin_side_screen(Canvas* back_dc) {
    const View& view = views[main_view];
    copy_block(back_dc, background_dc, view.width, view.height);
    back_dc->background_mode = BackgroundMode::transparent;
}
