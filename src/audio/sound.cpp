// Effects, music and volumes on top of the sound library.
#include "audio/sound.h"

#include <algorithm>
#include <cstring>

#include "platform/data_file_names.h"
#include "world/state.h"

SoundSlot sound_samples[effect_count] = {
    {gun_sound_file, nullptr},
    {explosion_sound_file, nullptr},
    {level_up_sound_file, nullptr},
};
char music_files[music_file_count][256];
int32_t music_track = -1;
MusicModule* music_module;
int32_t music_volume = 128;
int32_t sound_volume = 128;

void start_sound() {
    // A record played as fast as it goes runs without a sound output, as where there is none.
    if (playing != Playing::watched_fast)
        sound_init(44100, 64, 0);
    std::strncpy(music_files[0], music_file, sizeof music_files[0] - 1);
    music_track = -1;
    music_volume = 128;
    sound_volume = 128;
    for (SoundSlot& slot : sound_samples)
        slot.handle = sound_load_sample(-1, slot.file, 0);
}

void stop_sound() {
    if (music_module != nullptr) {
        music_stop(music_module);
        music_free(music_module);
        music_module = nullptr;
    }
    for (SoundSlot& slot : sound_samples) {
        sound_free_sample(slot.handle);
        slot.handle = nullptr;
    }
    sound_close();
}

void set_volumes(int32_t music, int32_t sound) {
    if (music == -1)
        music = music_volume;
    if (sound == -1)
        sound = sound_volume;
    music = std::clamp(music, 0, 255);
    sound = std::clamp(sound, 0, 255);
    if (music_module != nullptr)
        music_set_volume(music_module, music);
    sound_set_effects_volume(sound);
    music_volume = music;
    sound_volume = sound;
}

void play_music_again() {
    if (music_track >= 0)
        music_free(music_module);
    start_music_playing();
}

void start_music_playing() {
    music_track = 0;
    music_module = music_load(music_files[0]);
    music_play(music_module);
    set_volumes(-1, -1);
}

int32_t play_effect(Effect effect) {
    return sound_play(-1, sound_samples[effect].handle);
}
