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

void log(std::string line, const std::string& what = "", int64_t number = INT64_MIN) {
    line += what.empty() ? "" : " " + what;
    fake::state().log.push_back(number == INT64_MIN ? line : line + " " + std::to_string(number));
}

template <typename Handle> std::string name_of(const Handle* handle) {
    return handle == nullptr ? "null" : handle->file;
}

template <typename Handle> Handle* load(const char* path) {
    return fake::state().missing_files.count(path) != 0 ? nullptr : new Handle{path};
}

} // namespace

void sound_init(int32_t mix_rate, int32_t channels, int32_t flags) {
    log("sound_init", std::to_string(mix_rate) + " " + std::to_string(channels), flags);
}
void sound_close() {
    log("sound_close");
}
SoundSample* sound_load_sample(int32_t slot, const char* path, int32_t mode) {
    log("load_sample", std::to_string(slot) + " " + path, mode);
    return load<SoundSample>(path);
}
void sound_free_sample(SoundSample* sample) {
    log("free_sample", name_of(sample));
    delete sample;
}
int32_t sound_play(int32_t channel, SoundSample* sample) {
    log("play", std::to_string(channel) + " " + name_of(sample));
    return sample == nullptr ? -1 : 7;
}
bool sound_is_playing(int32_t channel) {
    return channel >= 0 && fake::state().sound_reports_playing;
}
void sound_set_effects_volume(int32_t volume) {
    log("effects_volume", "", volume);
}
MusicModule* music_load(const char* path) {
    log("music_load", path);
    return load<MusicModule>(path);
}
void music_free(MusicModule* module) {
    log("music_free", name_of(module));
    delete module;
}
void music_play(MusicModule* module) {
    log("music_play", name_of(module));
    fake::state().music_finished = false;
}
void music_stop(MusicModule* module) {
    log("music_stop", name_of(module));
}
void music_set_volume(MusicModule* module, int32_t volume) {
    log("music_volume", name_of(module), volume);
}
bool music_is_finished(MusicModule* module) {
    return module != nullptr && fake::state().music_finished;
}
