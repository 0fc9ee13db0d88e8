// The sound library: wave samples on mixing channels, one music module, two master volumes.
// Every call is harmless with a null handle, and all of them work (silently) without an output.
#pragma once

#include <cstdint>

struct SoundSample;
struct MusicModule;

// Opens the output at mix_rate with the given number of mixing channels.
void sound_init(int32_t mix_rate, int32_t channels, int32_t flags);
void sound_close();

// slot -1: any free slot. Null when the file cannot be loaded or there is no output.
SoundSample* sound_load_sample(int32_t slot, const char* path, int32_t mode);
void sound_free_sample(SoundSample* sample);
// channel -1: any free channel. The channel that plays it, or -1 when nothing started.
int32_t sound_play(int32_t channel, SoundSample* sample);
bool sound_is_playing(int32_t channel);
// 0 (silent) to 255 (full), for every sample played.
void sound_set_effects_volume(int32_t volume);

// Null when the file cannot be loaded or there is no output.
MusicModule* music_load(const char* path);
void music_free(MusicModule* module);
// Plays the module once from its beginning.
void music_play(MusicModule* module);
void music_stop(MusicModule* module);
// 0 (silent) to 255 (full).
void music_set_volume(MusicModule* module, int32_t volume);
// True once a module that was played has reached its end; false for null.
bool music_is_finished(MusicModule* module);
