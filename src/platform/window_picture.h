// What a window shows: its view enlarged by a whole number at a place in the window, perhaps a
// second view at its left (the gun view in the main window), black around; and, frame to frame,
// only the parts of the views that changed.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

struct PixelRect {
    int32_t x, y, w, h;
};

// Screen pixels per view pixel, and where the view's top-left lies in the window.
struct ViewPlace {
    int32_t scale;
    int32_t x, y;
};

// Enough for every band of rows of a view and of the one beside it, and the whole window.
constexpr int32_t max_changes = 64;

// What a window's picture was last made from. When the target or the place changes, the window
// is painted whole; otherwise only what changed in the views since they were last shown.
struct WindowPicture {
    const uint32_t* pixels; // the target painted last
    int32_t width, height, pitch;
    ViewPlace place;
    bool beside;
    Canvas* last[2]; // the views as last shown: the window's own and the one at its left
};

// Where the views of `view` differ from `*last`, as rectangles of view pixels (at most `room`),
// copied into `*last` as they are found; how many. A missing `*last`, or one of another size,
// is made: the whole view has changed.
int32_t take_changes(const Canvas* view, Canvas** last, PixelRect* changed, int32_t room);

// Copies `part` of the view into the target, the view's top-left at (x, y), each pixel a
// scale x scale square; what falls outside the target is left out.
void enlarge(Canvas* target, const Canvas* view, PixelRect part, int32_t x, int32_t y,
             int32_t scale);

// `part` of a view placed at (x, y) and enlarged, as it lies on a target of width x height.
PixelRect enlarged(PixelRect part, int32_t x, int32_t y, int32_t scale, int32_t width,
                   int32_t height);

// True, with the views forgotten, when the picture was last made for another target or place.
bool picture_moved(WindowPicture* picture, const uint32_t* pixels, int32_t width, int32_t height,
                   int32_t pitch, ViewPlace place, bool beside);

// Brings the target up to date with `view` at `place` and, when not null, `beside` at its left,
// tops level: all of it (the margins black) when `whole` or when the target or place changed,
// else what changed in the views. Puts the target's changed rectangles (at most max_changes)
// into `changed`; how many, 0 when it already showed the views.
int32_t paint_window(WindowPicture* picture, Canvas* target, const Canvas* view,
                     const Canvas* beside, ViewPlace place, bool whole, PixelRect* changed);

// Frees the copies the picture keeps; it is then as new.
void forget_picture(WindowPicture* picture);
