// The sound library on SDL2_mixer, mixing into SDL's disk audio driver: channels, volumes on
// the game's scale, a module that plays once and reports its end, and what reaches the output.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/sound_file_checks.h"
#include "audio/sound_library.h"

namespace {

const std::string data = ZARNOK_DATA_DIR;

// The loudest sample of gun.wav, full scale being 1.
float gun_peak() {
    SDL_AudioSpec wav{};
    uint8_t* bytes = nullptr;
    uint32_t length = 0;
    SDL_LoadWAV((data + "/gun.wav").c_str(), &wav, &bytes, &length);
    int32_t peak = 0;
    for (uint32_t i = 0; i + 1 < length; i += 2)
        peak = std::max(peak, std::abs(int32_t{*reinterpret_cast<int16_t*>(bytes + i)}));
    SDL_FreeWAV(bytes);
    return static_cast<float>(peak) / 32768.0f;
}

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A WAV of data_bytes of silence whose data chunk claims `claimed` bytes (-1: as many as
// there are).
std::vector<uint8_t> wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                         uint32_t data_bytes, int64_t claimed = -1) {
    std::vector<uint8_t> bytes(44 + data_bytes);
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    std::memcpy(bytes.data(), "RIFF....WAVEfmt ", 16);
    put32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));
    put32(bytes, 16, 16);
    put32(bytes, 20, tag | static_cast<uint32_t>(channels) << 16);
    put32(bytes, 24, rate);
    put32(bytes, 28, rate * block);
    put32(bytes, 32, block | static_cast<uint32_t>(bits) << 16);
    std::memcpy(bytes.data() + 36, "data", 4);
    put32(bytes, 40, claimed < 0 ? data_bytes : static_cast<uint32_t>(claimed));
    return bytes;
}

// What the sound library may be handed, from a player's own gun.wav and supera29.xm: each
// unusable file with the words that say why; the game's own files pass.
TEST(SoundFileChecks, UnusableSamplesAndModulesAreToldApart) {
    std::vector<uint8_t> data_first = wav(1, 1, 22050, 16, 100);
    std::memcpy(data_first.data() + 12, "data", 4);
    const std::vector<std::pair<std::vector<uint8_t>, const char*>> samples = {
        {file_bytes(data + "/gun.wav"), ""},
        {wav(1, 2, 8000, 8, 1000), ""},
        {wav(1, 1, 1, 8, 12000), "a sample rate of 1 Hz, not 8000 to 96000"},
        {wav(1, 1, 96001, 16, 100), "a sample rate of 96001 Hz, not 8000 to 96000"},
        {wav(3, 1, 44100, 32, 100), "not PCM but format 3"},
        {wav(1, 3, 44100, 16, 120), "3 channels, not 1 or 2"},
        {wav(1, 1, 44100, 24, 120), "24 bits a sample, not 8 or 16"},
        {wav(1, 1, 44100, 16, 100, 1 << 30), "a chunk runs past the end of the file"},
        {wav(1, 1, 8000, 8, 100000), "4410000 bytes once converted, 4 MB at most"},
        {data_first, "its data comes before its format"},
        {std::vector<uint8_t>(3000, 'R'), "not a RIFF WAVE file"},
    };
    for (const auto& [bytes, expected] : samples) {
        const char* problem = sample_problem(bytes, 44100, 8);
        EXPECT_STREQ(problem ? problem : "", expected) << bytes.size() << " bytes";
    }

    const std::vector<uint8_t> module = file_bytes(data + "/supera29.xm");
    std::vector<uint8_t> many_patterns = module, long_sample = module, no_song = module;
    std::vector<uint8_t> too_large = module;
    many_patterns[71] = 3; // 775 patterns
    no_song[64] = 0;       // no order to play
    too_large.resize(largest_module + 1);
    // The first instrument's first sample, after the patterns: its length made 2 GB.
    size_t at = 60 + 276;
    for (int p = 0; p < module[70]; ++p)
        at += 9 + (module[at + 7] | module[at + 8] << 8);
    put32(long_sample, at + 263, 1u << 31);
    const std::vector<std::pair<std::vector<uint8_t>, const char*>> modules = {
        {module, ""},
        {std::vector<uint8_t>(module.begin(), module.begin() + module.size() / 2),
         "its header claims more than the file holds"},
        {long_sample, "its header claims more than the file holds"},
        {many_patterns, "13 orders, 8 channels, 775 patterns, 8 instruments: beyond an XM"},
        {std::vector<uint8_t>(3000, 'E'), "not an extended module (XM)"},
        {no_song, "0 orders, 8 channels, 7 patterns, 8 instruments: beyond an XM"},
        {too_large, "larger than 8 MB"},
    };
    for (const auto& [bytes, expected] : modules) {
        const char* problem = module_problem(bytes);
        EXPECT_STREQ(problem ? problem : "", expected) << bytes.size() << " bytes";
    }
}

class SoundOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/zarnok-sound-XXXXXX";
        folder = mkdtemp(name);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        // A short rest per buffer: without it the mixer thread holds the audio lock nearly
        // all the time and the test's own calls into the mixer can wait for seconds.
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
    }
    void TearDown() override {
        sound_close();
        SDL_Quit();
        std::filesystem::remove_all(folder);
    }
    // The first `seconds` of samples (stereo floats) written after the first `from` bytes.
    std::vector<float> written_after(std::streamoff from, double seconds = 0.5) {
        const std::streamoff wanted = from + static_cast<std::streamoff>(seconds * 44100) * 8;
        for (uint32_t give_up = SDL_GetTicks() + 20000; written() < wanted;) {
            if (SDL_GetTicks() > give_up)
                return {};
            SDL_Delay(5);
        }
        std::ifstream in(folder + "/out.raw", std::ios::binary);
        in.seekg(from);
        std::vector<float> samples((wanted - from) / 4);
        in.read(reinterpret_cast<char*>(samples.data()), wanted - from);
        return samples;
    }
    float loudest_after(std::streamoff from) {
        const std::vector<float> samples = written_after(from);
        EXPECT_FALSE(samples.empty()) << "the mixer wrote nothing";
        float loudest = 0;
        for (float sample : samples)
            loudest = std::max(loudest, std::fabs(sample));
        return loudest;
    }
    std::streamoff written() { return std::filesystem::file_size(folder + "/out.raw"); }
    // Where the output stands once the buffers mixed before this call have reached the file:
    // one mixed at the old volume may still be on its way when the volume changes.
    std::streamoff settled() {
        written_after(written(), 0.1);
        return written();
    }
    std::string folder;
};

TEST_F(SoundOutputTest, ChannelsVolumesAndTheModule) {
    sound_init(44100, 64, 0);
    SoundSample* gun = sound_load_sample(-1, (data + "/gun.wav").c_str(), 0);
    ASSERT_NE(gun, nullptr);
    // game volume, then SDL_mixer's
    for (const auto& [game, mixer] : {std::pair{255, 128}, {128, 64}, {10, 5}, {0, 0}}) {
        sound_set_effects_volume(game);
        EXPECT_EQ(Mix_MasterVolume(-1), mixer) << game;
    }
    for (int i = 0; i < 64; ++i) // a channel each, playing, until all 64 are busy
        EXPECT_TRUE(sound_is_playing(sound_play(-1, gun))) << i;
    EXPECT_EQ(sound_play(-1, gun), -1);
    Mix_HaltChannel(-1);

    MusicModule* module = music_load((data + "/supera29.xm").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(music_is_finished(module)); // not before it was played
    music_play(module);
    music_set_volume(module, 0); // held still: the module player never quite falls silent
    EXPECT_EQ(Mix_PausedMusic(), 1);
    music_set_volume(module, 10);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 5);
    Mix_Music* same = Mix_LoadMUS((data + "/supera29.xm").c_str());
    Mix_SetMusicPosition(Mix_MusicDuration(same) - 0.5); // the last half second of it
    Mix_FreeMusic(same);
    for (uint32_t give_up = SDL_GetTicks() + 30000;
         !music_is_finished(module) && SDL_GetTicks() < give_up;)
        SDL_Delay(5);
    EXPECT_TRUE(music_is_finished(module));
    music_play(module); // and it starts again from the top
    EXPECT_FALSE(music_is_finished(module));
    music_stop(module);
    music_free(module);

    // What reaches the output follows the effects volume: a lone shot at the default volume
    // as loud as the sample makes it, eleven explosions at once held under full scale.
    sound_set_effects_volume(128);
    std::streamoff from = settled();
    sound_play(-1, gun);
    EXPECT_NEAR(loudest_after(from), 0.5f * gun_peak(), 0.01f);
    SoundSample* boom = sound_load_sample(-1, (data + "/explode.wav").c_str(), 0);
    from = settled();
    for (int i = 0; i < 11; ++i)
        sound_play(-1, boom);
    const std::vector<float> burst = written_after(from, 1.0);
    ASSERT_FALSE(burst.empty());
    EXPECT_EQ(std::count_if(burst.begin(), burst.end(), [](float s) { return std::fabs(s) >= 1; }),
              0);
    EXPECT_GT(*std::max_element(burst.begin(), burst.end()), 0.8f);
    sound_set_effects_volume(0);
    from = settled();
    sound_play(-1, gun);
    EXPECT_EQ(loudest_after(from), 0);
    sound_free_sample(gun);
    sound_free_sample(boom);
}

} // namespace
