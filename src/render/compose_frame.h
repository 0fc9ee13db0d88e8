// One frame of the main view, from the background to the frame-rate line, and a view's frame
// copied to its window.
#pragma once

// Copies a view's back buffer to its window.
void blit_window(int view_index);
void compose_main_frame();
// Everything but the final copy to the window.
void build_main_frame();
// The background picture, the points and levels over it, and the floor.
void draw_backdrop();
