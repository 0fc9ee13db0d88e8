// The game's sound effects, its music module and the two master volumes.
#pragma once

#include <cstdint>

#include "audio/sound_library.h"

struct SoundSlot {
    const char* file;
    SoundSample* handle; // null until loaded, and when loading failed
};

enum Effect { gun_sound = 0, explode_sound = 1, yeah_sound = 2 };
constexpr int32_t effect_count = 3;
extern SoundSlot sound_samples[effect_count];

constexpr int32_t music_file_count = 1;
extern char music_files[music_file_count][256];
extern int32_t music_track; // -1 until the first load
extern MusicModule* music_module;

// 0 (silent) to 255 (full).
extern int32_t music_volume;
extern int32_t sound_volume;

// Opens the sound library and loads the effects.
void start_sound();
// Stops and releases the music and the effects and closes the library.
void stop_sound();

// -1 keeps a volume as it is; the others are clamped to 0..255, applied and stored.
void set_volumes(int32_t music, int32_t sound);
// Loads the module and plays it from its beginning.
void start_music_playing();
// The same, the module that played to its end let go first.
void play_music_again();

// Plays an effect on any free channel; the channel, or -1 when nothing started.
int32_t play_effect(Effect effect);
