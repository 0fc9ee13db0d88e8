// What a window shows and how it is presented: the view the game draws on, the picture last
// shown, and SDL's renderer where frames go through one; and the showing of each pass's frame.
#pragma once

#include <SDL.h>

#include "platform/canvas.h"
#include "platform/window_picture.h"

struct WindowPresentation {
    Canvas* view;             // what the game draws on, shown at the next present
    Canvas* composed;         // the surface's size, when the surface has another layout
    WindowPicture picture;    // what the window shows, to tell what changed
    SDL_Renderer* renderer;   // null where frames go through the window's surface
    bool vsync;               // the renderer's present waits for the display's refresh
    SDL_Texture* textures[2]; // the views on the graphics card: the window's own, the one beside
    PixelRect changed[max_changes]; // what the present under way sends to the window
    int32_t change_count;
    bool needs_present; // drawn on since it was last shown
    bool needs_whole;   // to be shown whole: new, resized, uncovered
};

// Shows what was drawn on the windows since they were last shown, at once.
void present_windows();
// Waits until the next pass is due: where the last present waited for the display's refresh
// itself, not at all; else until the next refresh on the clock.
void wait_for_refresh();
// Lets go of what the window showed its frames with.
void forget_presentation(WindowPresentation* present);
