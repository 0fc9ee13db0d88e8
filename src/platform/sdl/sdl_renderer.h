// Frames shown through SDL's renderer where a graphics card draws them: each view goes up as a
// texture and the card enlarges it.
#pragma once

#include <cstdint>

#include "platform/sdl/sdl_windows.h"

// Whether the machine has a graphics card with a driver of its own (answered by each system).
bool has_graphics_device();
// Whether a renderer draws on a graphics card: neither SDL's software renderer nor an OpenGL
// that the processor runs (llvmpipe, softpipe, swrast), whatever the flags say.
bool counts_as_gpu(const char* name, uint32_t flags, const char* gl_renderer);
// Gives a window just made a renderer when the chosen way of showing frames calls for one; the
// main window's waits for the display's refresh. No other window is offered one once a window
// was offered none that counts.
void attach_renderer(PlatformWindow* window, bool main);
void release_renderer(PlatformWindow* window);
// Uploads what changed in the window's view and in `beside` (the gun view at its left, or
// null); how many parts changed, 0 when the window already shows them and `whole` is not set.
int32_t prepare_rendered(PlatformWindow* window, const Canvas* beside, bool whole);
// Draws the views enlarged on black and presents them.
void show_rendered(PlatformWindow* window, const Canvas* beside);
