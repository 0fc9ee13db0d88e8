// The game's generated pictures, sounds and music, as a player meets them: the right formats
// and sizes, something to see and hear, dark where text goes, no clicks, a module that plays
// once to its end without jumping back.
#include <SDL.h>
#include <gtest/gtest.h>
#include <xmp.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numeric>
#include <vector>

namespace {

const std::string data = ASSET_DATA_DIR;

TEST(Assets, Pictures) {
    std::vector<std::vector<uint8_t>> seen;
    for (const char* name : {"bg.bmp", "f1bg.bmp", "hiscbg.bmp", "nfobg.bmp"}) {
        SDL_Surface* picture = SDL_LoadBMP((data + "/" + name).c_str());
        ASSERT_NE(picture, nullptr) << name;
        ASSERT_EQ(picture->w, 400) << name;
        ASSERT_EQ(picture->h, 400) << name;
        ASSERT_EQ(picture->format->BytesPerPixel, 3) << name;
        const auto* bytes = static_cast<const uint8_t*>(picture->pixels);
        std::vector<uint8_t> pixels(bytes, bytes + 400 * picture->pitch);
        double sum = 0, squares = 0, heading = 0; // luminance, and under every heading
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x) {
                const uint8_t* p = bytes + y * picture->pitch + 3 * x;
                const double l = 0.2126 * p[2] + 0.7152 * p[1] + 0.0722 * p[0];
                sum += l;
                squares += l * l;
                heading += y < 30 && x > 100 && x < 300 ? l : 0;
            }
        EXPECT_LT(sum / 160000, 40) << name << " is too bright behind text";
        EXPECT_GT(squares / 160000 - sum * sum / 160000 / 160000, 9) << name << " is flat";
        EXPECT_LT(heading / (200 * 30), 35) << name << " is bright under its heading";
        EXPECT_EQ(std::find(seen.begin(), seen.end(), pixels), seen.end()) << name;
        seen.push_back(pixels);
        SDL_FreeSurface(picture);
    }
}

TEST(Assets, SoundEffects) {
    // name, shortest and longest in seconds
    const std::tuple<const char*, double, double> effects[] = {
        {"gun.wav", 0.12, 0.25}, {"explode.wav", 1.0, 1.6}, {"yeah.wav", 0.6, 1.0}};
    for (const auto& [name, shortest, longest] : effects) {
        SDL_AudioSpec wav{};
        uint8_t* buffer = nullptr;
        uint32_t length = 0;
        ASSERT_NE(SDL_LoadWAV((data + "/" + name).c_str(), &wav, &buffer, &length), nullptr);
        EXPECT_EQ(wav.freq, 44100);
        EXPECT_EQ(wav.format, AUDIO_S16LSB);
        const auto* samples = reinterpret_cast<const int16_t*>(buffer);
        const size_t count = length / 2 / wav.channels;
        EXPECT_GE(count / 44100.0, shortest) << name;
        EXPECT_LE(count / 44100.0, longest) << name;
        int peak = 0;
        for (size_t i = 0; i < length / 2; ++i)
            peak = std::max(peak, std::abs(int{samples[i]}));
        EXPECT_GT(peak, 16000) << name; // about -3 dBFS, never clipped
        EXPECT_LT(peak, 30000) << name;
        EXPECT_LT(std::abs(int{samples[0]}), 330) << name << " clicks on";
        EXPECT_LT(std::abs(int{samples[length / 2 - 1]}), 330) << name << " clicks off";
        SDL_FreeWAV(buffer);
    }
}

TEST(Assets, TheModulePlaysOnceToItsEnd) {
    std::ifstream in(data + "/supera29.xm", std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    xmp_context player = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(player, bytes.data(), static_cast<long>(bytes.size())),
              0);
    ASSERT_EQ(xmp_start_player(player, 8000, XMP_FORMAT_MONO), 0);
    xmp_frame_info frame;
    int position = 0, time = 0;
    std::vector<double> powers; // a tick's each
    while (xmp_play_frame(player) == 0) {
        xmp_get_frame_info(player, &frame);
        if (frame.loop_count > 0 || time > 600000)
            break;
        ASSERT_GE(frame.pos, position) << "the song jumps back, and would never end";
        position = frame.pos;
        time = frame.time;
        powers.push_back(0);
        for (int i = 0; i < frame.buffer_size / 2; ++i)
            powers.back() += std::pow(static_cast<const int16_t*>(frame.buffer)[i] / 32768.0, 2);
    }
    const double power = std::accumulate(powers.begin(), powers.end(), 0.0);
    // The last second is about as loud as the rest: the song runs into its next pass.
    const double last = std::accumulate(powers.end() - 50, powers.end(), 0.0);
    EXPECT_GT(last / 50, 0.4 * power / static_cast<double>(powers.size())) << "fades out";
    xmp_module_info module;
    xmp_get_module_info(player, &module);
    EXPECT_EQ(position, module.mod->len - 1) << "ended before the last order";
    EXPECT_GT(time, 60000) << "ms";
    EXPECT_LT(time, 120000) << "ms";
    EXPECT_GT(std::sqrt(power / (time * 8.0)), 0.03) << "hardly audible";
    xmp_end_player(player);
    xmp_release_module(player);
    xmp_free_context(player);
}

} // namespace
