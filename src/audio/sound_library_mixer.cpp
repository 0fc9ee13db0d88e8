// The sound library on SDL2_mixer. Volumes arrive on the game's 0..255 scale and are mapped
// to SDL_mixer's 0..128. Without an output device every load gives null and the game is silent.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "audio/sound_file_checks.h"
#include "audio/sound_library.h"
#include "store/data_file.h"
#include "store/say.h"

struct SoundSample {
    Mix_Chunk* chunk;
};

struct MusicModule {
    Mix_Music* music;
    bool started;
    std::vector<uint8_t> bytes; // the file, which the module player may read from while it plays
};

namespace {

bool audio_open = false;
int output_rate = 0, output_frame_bytes = 0; // what samples are converted to when loaded

// Effects are mixed in floating point, so that many at once (the eleven explosions at the end
// of a game) add up beyond full scale without clipping; this limiter then brings the peaks
// under full scale, and lets a lone effect through untouched.
struct Limiter {
    static constexpr float ceiling = 0.9f;
    float envelope = 0.0f; // the recent peak, falling back over about a fifth of a second
    float release = 1.0f;
};
Limiter limiter;

void limit(void* state, Uint8* stream, int length) {
    auto& l = *static_cast<Limiter*>(state);
    auto* samples = reinterpret_cast<float*>(stream);
    for (int i = 0; i + 1 < length / static_cast<int>(sizeof(float)); i += 2) {
        const float peak = std::max(std::fabs(samples[i]), std::fabs(samples[i + 1]));
        l.envelope = std::max(peak, l.envelope * l.release);
        if (l.envelope > Limiter::ceiling) {
            const float gain = Limiter::ceiling / l.envelope;
            samples[i] *= gain;
            samples[i + 1] *= gain;
        }
    }
}

int mixer_volume(int32_t volume) {
    volume = std::clamp(volume, 0, 255);
    return (volume * MIX_MAX_VOLUME + 127) / 255;
}

// A file that passed its check and that the library still would not take.
void say_unloaded(const char* path) {
    say("%s cannot be used (%s); it counts as missing", path, SDL_GetError());
}

// The checks, then the library's own loader: a file it refuses counts as unusable, so that the
// installed one is tried next.
const char* sample_problem_here(const std::vector<uint8_t>& bytes) {
    if (const char* problem = sample_problem(bytes, output_rate, output_frame_bytes))
        return problem;
    Mix_Chunk* chunk =
        Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    Mix_FreeChunk(chunk);
    return chunk == nullptr ? "not a sample SDL_mixer can play" : nullptr;
}

const char* module_problem_here(const std::vector<uint8_t>& bytes) {
    if (const char* problem = module_problem(bytes))
        return problem;
    Mix_Music* music =
        Mix_LoadMUS_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    Mix_FreeMusic(music);
    return music == nullptr ? "not a module SDL_mixer can play" : nullptr;
}

} // namespace

void sound_init(int32_t mix_rate, int32_t channels, int32_t) {
    if (audio_open)
        return;
    Mix_Init(MIX_INIT_MOD);
    if (Mix_OpenAudio(mix_rate, AUDIO_F32SYS, 2, 1024) != 0)
        return;
    audio_open = true;
    Mix_AllocateChannels(channels);
    int rate = mix_rate, output_channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &output_channels);
    output_rate = rate;
    output_frame_bytes = output_channels * SDL_AUDIO_BITSIZE(format) / 8;
    limiter = {0.0f, std::exp(-1.0f / (0.2f * static_cast<float>(rate)))};
    if (format == AUDIO_F32SYS && output_channels == 2)
        Mix_SetPostMix(limit, &limiter);
}

void sound_close() {
    if (!audio_open)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    audio_open = false;
}

SoundSample* sound_load_sample(int32_t, const char* path, int32_t) {
    std::vector<uint8_t> bytes;
    if (!audio_open || path == nullptr || !read_data_file(path, &bytes, sample_problem_here))
        return nullptr;
    Mix_Chunk* chunk =
        Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (chunk == nullptr)
        say_unloaded(path);
    return chunk == nullptr ? nullptr : new SoundSample{chunk};
}

void sound_free_sample(SoundSample* sample) {
    if (sample == nullptr)
        return;
    Mix_FreeChunk(sample->chunk);
    delete sample;
}

int32_t sound_play(int32_t channel, SoundSample* sample) {
    if (!audio_open || sample == nullptr)
        return -1;
    return Mix_PlayChannel(channel, sample->chunk, 0);
}

bool sound_is_playing(int32_t channel) {
    return audio_open && channel >= 0 && Mix_Playing(channel) != 0;
}

void sound_set_effects_volume(int32_t volume) {
    if (audio_open)
        Mix_MasterVolume(mixer_volume(volume));
}

MusicModule* music_load(const char* path) {
    auto* module = new MusicModule{nullptr, false, {}};
    if (audio_open && path != nullptr && read_data_file(path, &module->bytes, module_problem_here))
        module->music = Mix_LoadMUS_RW(
            SDL_RWFromConstMem(module->bytes.data(), static_cast<int>(module->bytes.size())), 1);
    if (module->music != nullptr)
        return module;
    if (!module->bytes.empty())
        say_unloaded(path);
    delete module;
    return nullptr;
}

void music_free(MusicModule* module) {
    if (module == nullptr)
        return;
    Mix_FreeMusic(module->music);
    delete module;
}

void music_play(MusicModule* module) {
    if (module == nullptr || !audio_open)
        return;
    // Once through: a module that played to its end is restarted by the game itself.
    if (Mix_PlayMusic(module->music, 0) == 0)
        module->started = true;
}

void music_stop(MusicModule* module) {
    if (module != nullptr && audio_open)
        Mix_HaltMusic();
}

void music_set_volume(MusicModule* module, int32_t volume) {
    if (module == nullptr || !audio_open)
        return;
    Mix_VolumeMusic(mixer_volume(volume));
    // The module player's own volume never quite reaches zero, so at zero the music is held
    // still instead, and goes on from there when it is turned up again.
    if (mixer_volume(volume) == 0)
        Mix_PauseMusic();
    else if (Mix_PausedMusic() != 0)
        Mix_ResumeMusic();
}

bool music_is_finished(MusicModule* module) {
    return module != nullptr && audio_open && module->started && Mix_PlayingMusic() == 0;
}
