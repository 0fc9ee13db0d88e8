// The four backgrounds: they load in SDL at 400 x 400, show something, stay dark under the text
// drawn over them without hiding its colours, and are four different pictures.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

struct Pixel {
    float r, g, b;
};

// The picture as loaded by SDL, the way the game loads it; no pixels when loading fails.
struct Picture {
    int width = 0, height = 0, bits_per_pixel = 0;
    std::vector<Pixel> pixels; // row by row
};

Picture load_picture(const std::string& name) {
    Picture picture;
    SDL_Surface* loaded = SDL_LoadBMP(data_path(name).c_str());
    if (loaded == nullptr)
        return picture;
    picture = {loaded->w, loaded->h, loaded->format->BitsPerPixel, {}};
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    for (int y = 0; rgb != nullptr && y < rgb->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < rgb->w; ++x)
            picture.pixels.push_back(
                {float(row[x * 3]), float(row[x * 3 + 1]), float(row[x * 3 + 2])});
    }
    SDL_FreeSurface(rgb);
    return picture;
}

float luminance(const Pixel& p) {
    return 0.299f * p.r + 0.587f * p.g + 0.114f * p.b;
}

struct Area {
    int left, top, right, bottom; // right and bottom exclusive
};

struct AreaStats {
    float mean_luminance;
    float bright_luminance; // 95th percentile: a bright blob under text spoils it even if small
    Pixel mean_colour;
};

AreaStats measure(const Picture& picture, const Area& area) {
    std::vector<float> lumas;
    Pixel sum{0, 0, 0};
    float total = 0.0f;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const Pixel& p = picture.pixels[static_cast<size_t>(y * picture.width + x)];
            lumas.push_back(luminance(p));
            total += lumas.back();
            sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
        }
    const float count = static_cast<float>(lumas.size());
    std::sort(lumas.begin(), lumas.end());
    return {total / count,
            lumas[static_cast<size_t>(count * 0.95f)],
            {sum.r / count, sum.g / count, sum.b / count}};
}

const char* const picture_names[] = {"bg.bmp", "f1bg.bmp", "hiscbg.bmp", "nfobg.bmp"};

TEST(Pictures, Load400By400With24BitsAndShowSomethingButStayDark) {
    for (const char* name : picture_names) {
        SCOPED_TRACE(name);
        const Picture picture = load_picture(name);
        ASSERT_EQ(picture.width, 400) << SDL_GetError();
        EXPECT_EQ(picture.height, 400);
        EXPECT_EQ(picture.bits_per_pixel, 24);
        ASSERT_EQ(picture.pixels.size(), 400u * 400u);
        const float mean = measure(picture, {0, 0, 400, 400}).mean_luminance;
        float variance = 0.0f, brightest = 0.0f;
        for (const Pixel& p : picture.pixels) {
            variance += (luminance(p) - mean) * (luminance(p) - mean);
            brightest = std::max(brightest, luminance(p));
        }
        EXPECT_GT(std::sqrt(variance / static_cast<float>(picture.pixels.size())), 3.0f)
            << "flat picture";
        EXPECT_GT(brightest, 60.0f) << "nothing visible in it";
        EXPECT_LT(mean, 40.0f) << "too bright for a background";
    }
}

// Where text is drawn over each picture: dark on average and without bright patches.
struct TextArea {
    const char* picture;
    const char* what;
    Area area;
    float mean_below = 35.0f, bright_below = 80.0f;
};

const TextArea text_areas[] = {
    {"bg.bmp", "score", {0, 0, 200, 80}, 20.0f, 40.0f},
    {"f1bg.bmp", "heading", {100, 0, 300, 40}},
    {"f1bg.bmp", "keys on the left", {0, 40, 200, 340}},
    {"f1bg.bmp", "descriptions on the right", {200, 40, 400, 340}},
    {"f1bg.bmp", "lines at the bottom", {0, 340, 400, 400}},
    {"hiscbg.bmp", "heading", {100, 0, 300, 50}},
    {"hiscbg.bmp", "column headings", {0, 60, 400, 85}},
    {"hiscbg.bmp", "score rows", {0, 95, 400, 210}},
    {"nfobg.bmp", "heading", {100, 0, 300, 30}},
    {"nfobg.bmp", "upper text", {0, 30, 400, 250}},
    {"nfobg.bmp", "lower text", {0, 300, 400, 385}},
};

TEST(Pictures, DarkWhereTheirTextGoes) {
    for (const TextArea& text : text_areas) {
        SCOPED_TRACE(std::string(text.picture) + ", " + text.what);
        const Picture picture = load_picture(text.picture);
        ASSERT_EQ(picture.pixels.size(), 400u * 400u);
        const AreaStats stats = measure(picture, text.area);
        EXPECT_LT(stats.mean_luminance, text.mean_below);
        EXPECT_LT(stats.bright_luminance, text.bright_below);
    }
}

TEST(Pictures, KeepTheColoursOfWhatIsDrawnOverThem) {
    const Picture playfield = load_picture("bg.bmp");
    ASSERT_EQ(playfield.pixels.size(), 400u * 400u);
    // Red cubes and the sand floor must not blend in: no reddish or bright patches anywhere.
    size_t reddish = 0, bright = 0;
    for (const Pixel& p : playfield.pixels) {
        reddish += p.r > 60.0f && p.r > 1.5f * p.g && p.r > 1.5f * p.b;
        bright += luminance(p) > 128.0f;
    }
    EXPECT_LT(reddish, 50u);
    EXPECT_LT(bright, playfield.pixels.size() / 200);
    const Pixel sky = measure(playfield, {0, 0, 400, 400}).mean_colour;
    EXPECT_LE(sky.r, sky.b) << "bg.bmp should read as a cool night sky";
    // The hi-score column headings are blue: a bluish background there would swallow them.
    const Picture hiscores = load_picture("hiscbg.bmp");
    ASSERT_EQ(hiscores.pixels.size(), 400u * 400u);
    const Pixel headings = measure(hiscores, {0, 60, 400, 85}).mean_colour;
    EXPECT_LT(headings.b, headings.r + 4.0f) << "hiscbg.bmp is bluish under the column headings";
}

TEST(Pictures, AllFourDiffer) {
    std::vector<Picture> pictures;
    for (const char* name : picture_names) {
        pictures.push_back(load_picture(name));
        ASSERT_EQ(pictures.back().pixels.size(), 400u * 400u) << name;
    }
    for (size_t a = 0; a < pictures.size(); ++a)
        for (size_t b = a + 1; b < pictures.size(); ++b) {
            double difference = 0.0;
            for (size_t i = 0; i < pictures[a].pixels.size(); ++i) {
                const Pixel& p = pictures[a].pixels[i];
                const Pixel& q = pictures[b].pixels[i];
                difference += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            }
            EXPECT_GT(difference / (pictures[a].pixels.size() * 3), 4.0)
                << picture_names[a] << " and " << picture_names[b];
        }
}

} // namespace
