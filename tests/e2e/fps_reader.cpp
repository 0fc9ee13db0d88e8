// Reads the frame rate that F8 shows ("FPS:NNN" at (0,300) of the main view) from a screenshot
// of the view in binary PPM: prints the number, or "none" when the line is not there. The
// glyphs are rendered as the game renders them (DejaVu Sans Bold at 11, normal hinting, no
// kerning) and matched where their fully covered pixels must lie, in whatever one colour the
// text has. With --self-test it draws lines of random numbers the way the game does, over
// random pixels, and reads them back.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/image.h"

namespace {

constexpr const char* font_paths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
    "DejaVuSans-Bold.ttf",
};
constexpr int font_size = 11;
constexpr int line_x = 0, line_y = 300;

struct Glyph {
    int left = 0, advance = 0, width = 0, height = 0;
    std::vector<uint8_t> coverage;
};

std::optional<Glyph> render(TTF_Font* font, char c) {
    Glyph glyph;
    int min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    if (TTF_GlyphMetrics32(font, static_cast<unsigned char>(c), &min_x, &max_x, &min_y, &max_y,
                           &glyph.advance) != 0)
        return std::nullopt;
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, static_cast<unsigned char>(c),
                                                      SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr)
        return std::nullopt;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr)
        return std::nullopt;
    glyph.left = min_x < 0 ? min_x : 0;
    glyph.width = argb->w;
    glyph.height = argb->h;
    glyph.coverage.resize(static_cast<size_t>(argb->w) * argb->h);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + static_cast<ptrdiff_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x)
            glyph.coverage[static_cast<size_t>(y) * argb->w + x] =
                static_cast<uint8_t>(row[x] >> 24);
    }
    SDL_FreeSurface(argb);
    return glyph;
}

struct Fit {
    int core = 0, matched = 0;
    int extra = 0; // text-coloured pixels in the glyph's columns that it does not cover
};

// How well the glyph, drawn with its pen at x, fits the text-coloured pixels of the picture.
Fit fit(const Image& view, const Glyph& glyph, int pen_x, Rgb colour) {
    Fit f;
    const int x0 = pen_x + glyph.left;
    for (int gy = 0; gy < glyph.height; ++gy)
        for (int gx = 0; gx < glyph.width; ++gx) {
            const int x = x0 + gx, y = line_y + gy;
            if (x < 0 || y < 0 || x >= view.width || y >= view.height)
                continue;
            const uint8_t c = glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx];
            const bool is_text = pixel_at(view, x, y) == colour;
            if (c == 255) {
                ++f.core;
                f.matched += is_text ? 1 : 0;
            } else if (c == 0 && is_text && x >= pen_x && x < pen_x + glyph.advance) {
                ++f.extra;
            }
        }
    return f;
}

std::optional<Rgb> text_colour(const Image& view, const Glyph& first) {
    for (int gy = 0; gy < first.height; ++gy)
        for (int gx = 0; gx < first.width; ++gx)
            if (first.coverage[static_cast<size_t>(gy) * first.width + gx] == 255)
                return pixel_at(view, line_x + first.left + gx, line_y + gy);
    return std::nullopt;
}

std::string read_number(const Image& view, TTF_Font* font) {
    std::vector<Glyph> prefix;
    for (char c : std::string("FPS:")) {
        auto glyph = render(font, c);
        if (!glyph)
            return "none";
        prefix.push_back(std::move(*glyph));
    }
    std::vector<Glyph> digits;
    for (char c = '0'; c <= '9'; ++c) {
        auto glyph = render(font, c);
        if (!glyph)
            return "none";
        digits.push_back(std::move(*glyph));
    }
    const auto colour = text_colour(view, prefix[0]);
    if (!colour)
        return "none";
    int pen = line_x;
    for (const Glyph& glyph : prefix) {
        const Fit f = fit(view, glyph, pen, *colour);
        // The text's colour is the glyphs' and not what lies around them as well.
        if (f.core == 0 || f.matched != f.core || f.extra * 2 > f.core)
            return "none";
        pen += glyph.advance;
    }
    std::string number;
    while (number.size() < 8) {
        int best = -1;
        Fit best_fit;
        for (int d = 0; d < 10; ++d) {
            const Fit f = fit(view, digits[d], pen, *colour);
            if (f.core == 0 || f.matched != f.core)
                continue;
            if (best < 0 || f.extra < best_fit.extra ||
                (f.extra == best_fit.extra && f.core > best_fit.core)) {
                best = d;
                best_fit = f;
            }
        }
        if (best < 0)
            break;
        number += static_cast<char>('0' + best);
        pen += digits[best].advance;
    }
    return number.empty() ? "none" : number;
}

// Draws the text as the game does: glyph by glyph from the pen, full coverage in the exact
// colour, partial coverage blended with what is under it.
void draw_line(Image* view, TTF_Font* font, const std::string& text, Rgb colour) {
    int pen = line_x;
    for (char c : text) {
        const auto glyph = render(font, c);
        if (!glyph)
            return;
        for (int gy = 0; gy < glyph->height; ++gy)
            for (int gx = 0; gx < glyph->width; ++gx) {
                const int x = pen + glyph->left + gx, y = line_y + gy;
                const int alpha = glyph->coverage[static_cast<size_t>(gy) * glyph->width + gx];
                if (x < 0 || y < 0 || x >= view->width || y >= view->height || alpha == 0)
                    continue;
                uint8_t* p = &view->rgb[(static_cast<size_t>(y) * view->width + x) * 3];
                const uint8_t over[3] = {colour.r, colour.g, colour.b};
                for (int k = 0; k < 3; ++k)
                    p[k] =
                        static_cast<uint8_t>((over[k] * alpha + p[k] * (255 - alpha) + 127) / 255);
            }
        pen += glyph->advance;
    }
}

int self_test(TTF_Font* font) {
    std::mt19937 generator(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> rate(0, 999999);
    int right = 0;
    const int rounds = 300;
    for (int round = 0; round < rounds; ++round) {
        Image view{400, 400, std::vector<uint8_t>(400 * 400 * 3)};
        for (uint8_t& b : view.rgb)
            b = static_cast<uint8_t>(byte(generator));
        const Rgb colour{static_cast<uint8_t>(byte(generator)),
                         static_cast<uint8_t>(byte(generator)),
                         static_cast<uint8_t>(byte(generator))};
        const std::string number = std::to_string(rate(generator) >> (round % 20));
        draw_line(&view, font, "FPS:" + number, colour);
        const std::string read = read_number(view, font);
        if (read == number)
            ++right;
        else
            std::printf("drew %s, read %s\n", number.c_str(), read.c_str());
    }
    Image blank{400, 400, std::vector<uint8_t>(400 * 400 * 3, 40)};
    const bool none_on_blank = read_number(blank, font) == "none";
    std::printf("self-test: %d of %d numbers read back; a view without the line reads %s\n", right,
                rounds, none_on_blank ? "none" : "something");
    return right == rounds && none_on_blank ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool testing_itself = argc == 2 && std::string(argv[1]) == "--self-test";
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s VIEW.ppm | --self-test\n", argv[0]);
        return 2;
    }
    Image view;
    if (!testing_itself) {
        std::ifstream in(argv[1], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!parse_ppm(bytes, &view)) {
            std::fprintf(stderr, "%s: not a binary PPM picture\n", argv[1]);
            return 2;
        }
    }
    if (TTF_Init() != 0)
        return 2;
    TTF_Font* font = nullptr;
    for (const char* path : font_paths)
        if ((font = TTF_OpenFont(path, font_size)) != nullptr)
            break;
    if (font == nullptr) {
        std::fprintf(stderr, "no DejaVu Sans Bold font\n");
        return 2;
    }
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    TTF_SetFontKerning(font, 0);
    int status = 0;
    if (testing_itself)
        status = self_test(font);
    else
        std::printf("%s\n", read_number(view, font).c_str());
    TTF_CloseFont(font);
    TTF_Quit();
    return status;
}
