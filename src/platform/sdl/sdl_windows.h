// What the SDL platform keeps about each window it made, shared by its window, drawing, cursor
// and event code. The game counts in view pixels: each window shows its view enlarged by a
// whole number, and positions on the screen are told in screen pixels divided by that number,
// counted from the primary monitor's top-left corner.
#pragma once

#include <SDL.h>

#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/window.h"
#include "platform/window_picture.h"

struct PlatformWindow {
    SDL_Window* sdl_window; // null for the gun view when the main window shows it
    uint32_t id;
    WindowProc proc;
    CursorShape cursor;
    bool focused;
    bool minimised;
    bool minimise_heard;             // SDL said so; it counts once the batch of events is read
    bool shown;                      // as the game asked; the desktop hears of it at the next pass
    bool asked_visible;              // what the desktop was last asked
    Uint64 map_again_at;             // when to ask again for a window still not shown
    Uint64 mapping_until;            // till then a minimise is the manager's, mapping the window
    bool exposed_since_map;          // seen since it was last mapped
    bool gone;                       // destroyed by another program
    bool needs_present;              // drawn on since it was last shown
    bool needs_whole;                // to be shown whole: new, resized, uncovered
    int32_t view_width, view_height; // the game's size of the client area
    int32_t natural_scale;           // screen pixels per view pixel on its monitor
    ViewLayout layout;               // the scale and place of the view in the window now
    SDL_Point laid_out_for;          // the window's size when the layout was worked out
    SDL_Point at;                    // the client area's top-left on the screen
    SDL_Point told;                  // the position last told to the game, in view pixels
    SDL_Point wanted;                // where the game last put it, until it is there
    SDL_Point asked_at;              // where the window manager was last asked to put it
    int32_t frame_gap;               // the gun window: both frames' width between the views
    int32_t tries_left;              // asks left before the window manager is taken at its word
    bool place_again;                // not where it was asked: asked again at the next look
    Uint64 placed_by;                // when the window manager has had time enough to place it
    bool mapped_once;
    bool first_placing;       // placed for the first time: where it lands decides the layout
    Uint64 rescale_at;        // when a move to a monitor of another scale counts
    SDL_Point windowed_at;    // where the main window returns from the full screen
    Canvas* view;             // what the game draws on, shown at the next present
    Canvas* composed;         // the surface's size, when the surface has another layout
    WindowPicture picture;    // what the window shows, to tell what changed
    SDL_Renderer* renderer;   // null where frames go through the window's surface
    bool vsync;               // the renderer's present waits for the display's refresh
    SDL_Texture* textures[2]; // the views on the graphics card: the window's own, the one beside
    PixelRect changed[max_changes]; // what the present under way sends to the window
    int32_t change_count;
};

// The first window made, the main one: the cursor is confined to it, keys and closing are its.
PlatformWindow* first_window();
PlatformWindow* second_window();
// The window with this SDL id, or null.
PlatformWindow* find_window(uint32_t sdl_window_id);
bool any_window_focused();
bool any_window_minimised();
bool main_is_fullscreen();
// The main window shows the gun view at its left (on the full screen, or as the one window).
bool main_shows_gun();

// The desktop catches up with what the game asked: windows shown or hidden, placed again where
// the window manager put them elsewhere, rescaled on a monitor of another scale. Called at every
// look for messages.
void settle_windows();
// The window moved or changed size on the screen: the view is fitted again and the game told.
void window_moved(PlatformWindow* window, SDL_Point at);
// The screen changed under the game (a monitor gone, a mode set anew): windows no longer wholly
// on a monitor, or on one of another scale now, come back to the middle of the primary one, at
// its scale.
void screen_changed();
// The focus is the main window's whenever it is visible: keys and the held pointer need it.
void keep_focus_on_main(PlatformWindow* focused);
// The held pointer follows the main view to where it now lies on the screen.
void refresh_pointer_hold();
// Another program destroyed the window: nothing more is asked of it.
void forget_window(PlatformWindow* window);

// The monitors as they are now, the primary first, at most `most`: SDL's, cut to the X screen,
// as SDL does not hear of a monitor's mode set anew.
int current_monitors(SDL_Rect* monitors, int most);

// A point of the screen in the game's view pixels, and back, as seen from the main window.
ScreenPoint screen_to_view(SDL_Point point);
SDL_Point view_to_screen(ScreenPoint point);
// Where a point of a window lies: the window whose view it is over, the view pixel (the nearest
// one over a margin), and whether the point is on the view itself.
struct ViewPoint {
    PlatformWindow* window;
    int32_t x, y;
    bool inside;
};
ViewPoint point_in_views(PlatformWindow* window, int32_t x, int32_t y);
// Shows what was drawn on the windows since they were last shown, at once.
void present_windows();
// Waits until the next pass is due: where the last present waited for the display's refresh
// itself, not at all; else until the next refresh on the clock.
void wait_for_refresh();
// Destroys every window still open, as the end of the process does; false when one of them
// cannot be destroyed safely (gone, or the display lost), and SDL must not try either.
bool close_all_windows();
// The cursor takes the shape of the window class under the mouse.
void set_cursor_shape(CursorShape shape);
