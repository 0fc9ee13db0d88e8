// The four backgrounds: they load in SDL at 400 x 400, show something, stay dark under the text
// drawn over them, and are four different pictures.
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
    float r;
    float g;
    float b;
};

// The picture as loaded by SDL, the way the game loads it; empty when loading fails.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits_per_pixel = 0;
    std::vector<Pixel> pixels;
};

Picture load_picture(const std::string& name) {
    Picture picture;
    SDL_Surface* loaded = SDL_LoadBMP(data_path(name).c_str());
    if (loaded == nullptr) {
        return picture;
    }
    picture.width = loaded->w;
    picture.height = loaded->h;
    picture.bits_per_pixel = loaded->format->BitsPerPixel;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) {
        return picture;
    }
    for (int32_t y = 0; y < rgb->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
        for (int32_t x = 0; x < rgb->w; ++x) {
            picture.pixels.push_back(Pixel{static_cast<float>(row[x * 3]),
                                           static_cast<float>(row[x * 3 + 1]),
                                           static_cast<float>(row[x * 3 + 2])});
        }
    }
    SDL_FreeSurface(rgb);
    return picture;
}

float luminance(const Pixel& p) {
    return 0.299f * p.r + 0.587f * p.g + 0.114f * p.b;
}

struct Area {
    int32_t left;
    int32_t top;
    int32_t right; // exclusive
    int32_t bottom;
};

struct AreaStats {
    float mean_luminance;
    float bright_luminance; // 95th percentile: a bright blob under text spoils it even if small
    Pixel mean_colour;
};

AreaStats measure(const Picture& picture, const Area& area) {
    std::vector<float> lumas;
    Pixel sum{0, 0, 0};
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            const Pixel& p = picture.pixels[static_cast<size_t>(y * picture.width + x)];
            lumas.push_back(luminance(p));
            sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
        }
    }
    const float count = static_cast<float>(lumas.size());
    float total = 0.0f;
    for (const float l : lumas) {
        total += l;
    }
    std::sort(lumas.begin(), lumas.end());
    return {total / count,
            lumas[static_cast<size_t>(count * 0.95f)],
            {sum.r / count, sum.g / count, sum.b / count}};
}

const char* const picture_names[] = {"bg.bmp", "f1bg.bmp", "hiscbg.bmp", "nfobg.bmp"};

TEST(Pictures, LoadAs400By400With24Bits) {
    for (const char* name : picture_names) {
        SCOPED_TRACE(name);
        const Picture picture = load_picture(name);
        ASSERT_EQ(picture.width, 400) << SDL_GetError();
        EXPECT_EQ(picture.height, 400);
        EXPECT_EQ(picture.bits_per_pixel, 24);
        EXPECT_EQ(picture.pixels.size(), 400u * 400u);
    }
}

TEST(Pictures, ShowSomethingButStayDark) {
    for (const char* name : picture_names) {
        SCOPED_TRACE(name);
        const Picture picture = load_picture(name);
        ASSERT_EQ(picture.pixels.size(), 400u * 400u);
        const AreaStats whole = measure(picture, {0, 0, 400, 400});
        float variance = 0.0f;
        float brightest = 0.0f;
        for (const Pixel& p : picture.pixels) {
            const float d = luminance(p) - whole.mean_luminance;
            variance += d * d;
            brightest = std::max(brightest, luminance(p));
        }
        const float deviation = std::sqrt(variance / static_cast<float>(picture.pixels.size()));
        EXPECT_GT(deviation, 3.0f) << "flat picture";
        EXPECT_GT(brightest, 60.0f) << "nothing visible in it";
        EXPECT_LT(whole.mean_luminance, 40.0f) << "too bright for a background";
    }
}

void expect_dark(const Picture& picture, const Area& area, const char* what) {
    const AreaStats stats = measure(picture, area);
    EXPECT_LT(stats.mean_luminance, 35.0f) << what;
    EXPECT_LT(stats.bright_luminance, 80.0f) << what;
}

TEST(PlayfieldBackground, DarkUnderTheScoreAndFreeOfRedAndBrightAreas) {
    const Picture picture = load_picture("bg.bmp");
    ASSERT_EQ(picture.pixels.size(), 400u * 400u);
    const AreaStats score = measure(picture, {0, 0, 200, 80});
    EXPECT_LT(score.mean_luminance, 20.0f);
    EXPECT_LT(score.bright_luminance, 40.0f);
    // Red cubes and the sand floor must not blend in: no reddish or bright patches anywhere.
    size_t reddish = 0;
    size_t bright = 0;
    for (const Pixel& p : picture.pixels) {
        reddish += (p.r > 60.0f && p.r > 1.5f * p.g && p.r > 1.5f * p.b) ? 1 : 0;
        bright += luminance(p) > 128.0f ? 1 : 0;
    }
    EXPECT_LT(reddish, 50u);
    EXPECT_LT(bright, picture.pixels.size() / 200);
    const AreaStats whole = measure(picture, {0, 0, 400, 400});
    EXPECT_LE(whole.mean_colour.r, whole.mean_colour.b) << "should read as a cool night sky";
}

TEST(MenuBackgrounds, DarkWhereTheHelpTextGoes) {
    const Picture picture = load_picture("f1bg.bmp");
    ASSERT_EQ(picture.pixels.size(), 400u * 400u);
    expect_dark(picture, {100, 0, 300, 40}, "heading");
    expect_dark(picture, {0, 40, 200, 340}, "keys on the left");
    expect_dark(picture, {200, 40, 400, 340}, "descriptions on the right");
    expect_dark(picture, {0, 340, 400, 400}, "lines at the bottom");
}

TEST(MenuBackgrounds, DarkAndNotBlueWhereTheHiScoresGo) {
    const Picture picture = load_picture("hiscbg.bmp");
    ASSERT_EQ(picture.pixels.size(), 400u * 400u);
    expect_dark(picture, {100, 0, 300, 50}, "heading");
    expect_dark(picture, {0, 60, 400, 85}, "column headings");
    expect_dark(picture, {0, 95, 400, 210}, "score rows");
    // The column headings are blue: a bluish background there would swallow them.
    const AreaStats headings = measure(picture, {0, 60, 400, 85});
    EXPECT_LT(headings.mean_colour.b, headings.mean_colour.r + 4.0f);
}

TEST(MenuBackgrounds, DarkWhereTheAboutTextGoes) {
    const Picture picture = load_picture("nfobg.bmp");
    ASSERT_EQ(picture.pixels.size(), 400u * 400u);
    expect_dark(picture, {100, 0, 300, 30}, "heading");
    expect_dark(picture, {0, 30, 400, 250}, "upper text");
    expect_dark(picture, {0, 300, 400, 385}, "lower text");
}

TEST(MenuBackgrounds, AllFourPicturesDiffer) {
    std::vector<Picture> pictures;
    for (const char* name : picture_names) {
        pictures.push_back(load_picture(name));
        ASSERT_EQ(pictures.back().pixels.size(), 400u * 400u) << name;
    }
    for (size_t a = 0; a < pictures.size(); ++a) {
        for (size_t b = a + 1; b < pictures.size(); ++b) {
            double difference = 0.0;
            for (size_t i = 0; i < pictures[a].pixels.size(); ++i) {
                const Pixel& p = pictures[a].pixels[i];
                const Pixel& q = pictures[b].pixels[i];
                difference += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            }
            difference /= static_cast<double>(pictures[a].pixels.size() * 3);
            EXPECT_GT(difference, 4.0) << picture_names[a] << " and " << picture_names[b];
        }
    }
}

} // namespace
