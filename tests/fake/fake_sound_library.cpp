// The fake sound library: handles named after their files, every call recorded.
#include <string>

#include "audio/sound_library.h"
#include "tests/fake/fake_platform.h"

struct SoundSample {
    std::string file;
};

struct MusicModule {
    std::string file;
};

namespace {

void log(const std::string& line) {
    fake::state().log.push_back(line);
}

int32_t next_channel = 0;

} // namespace

void sound_init(int32_t mix_rate, int32_t channels, int32_t flags) {
    log("sound_init " + std::to_string(mix_rate) + " " + std::to_string(channels) + " " +
        std::to_string(flags));
}

void sound_close() {
    log("sound_close");
}

SoundSample* sound_load_sample(int32_t slot, const char* path, int32_t mode) {
    log("load_sample " + std::to_string(slot) + " " + path + " " + std::to_string(mode));
    if (fake::state().missing_files.count(path) != 0)
        return nullptr;
    return new SoundSample{path};
}

void sound_free_sample(SoundSample* sample) {
    log("free_sample " + (sample == nullptr ? std::string("null") : sample->file));
    delete sample;
}

int32_t sound_play(int32_t channel, SoundSample* sample) {
    log("play " + std::to_string(channel) + " " +
        (sample == nullptr ? std::string("null") : sample->file));
    if (sample == nullptr)
        return -1;
    next_channel = (next_channel + 1) % 64;
    return next_channel;
}

bool sound_is_playing(int32_t channel) {
    return channel >= 0 && fake::state().sound_reports_playing;
}

void sound_set_effects_volume(int32_t volume) {
    log("effects_volume " + std::to_string(volume));
    fake::state().effects_volume = volume;
}

MusicModule* music_load(const char* path) {
    log("music_load " + std::string(path));
    if (fake::state().missing_files.count(path) != 0)
        return nullptr;
    return new MusicModule{path};
}

void music_free(MusicModule* module) {
    log("music_free " + (module == nullptr ? std::string("null") : module->file));
    delete module;
}

void music_play(MusicModule* module) {
    log("music_play " + (module == nullptr ? std::string("null") : module->file));
    fake::state().music_finished = false;
}

void music_stop(MusicModule* module) {
    log("music_stop " + (module == nullptr ? std::string("null") : module->file));
}

void music_set_volume(MusicModule* module, int32_t volume) {
    log("music_volume " + (module == nullptr ? std::string("null ") : std::string()) +
        std::to_string(volume));
    if (module != nullptr)
        fake::state().music_volume = volume;
}

bool music_is_finished(MusicModule* module) {
    return module != nullptr && fake::state().music_finished;
}
