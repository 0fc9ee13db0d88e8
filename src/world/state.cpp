// Storage of the game's shared state.
#include "world/state.h"

Playing playing = Playing::live;

int32_t running;
int32_t quit_requested;
int32_t app_active;
int32_t paused;
int32_t help_shown;
int32_t hiscores_shown;
int32_t about_shown;
int32_t game_over;
int32_t entering_name;
int32_t show_fps;
int32_t new_rank;
int32_t name_length;
int32_t last_name_key;

View views[2];

Canvas* background_dc;
Canvas* bg_bitmap;
Canvas* help_bitmap;
Canvas* hiscore_bitmap;
Canvas* about_bitmap;

Object3D gun_model;
Object3D* aim_cubes;
Object3D floor_bars[floor_bar_count];
float aim_spacing;

int32_t frames_per_second;
