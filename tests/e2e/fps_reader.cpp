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
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/image.h"

namespace {

constexpr int line_x = 0, line_y = 300;

struct Glyph {
    int left = 0, advance = 0, width = 0, height = 0;
    std::vector<uint8_t> coverage; // 0 to 255, row by row
};
using Glyphs = std::map<char, Glyph>;

// The glyphs of "FPS:" and the digits; empty when one cannot be rendered.
Glyphs render_glyphs(TTF_Font* font) {
    Glyphs glyphs;
    for (const char c : std::string("FPS:0123456789")) {
        Glyph& glyph = glyphs[c];
        int min_x = 0, max_x = 0, min_y = 0, max_y = 0;
        SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, static_cast<unsigned char>(c),
                                                          SDL_Color{255, 255, 255, 255});
        SDL_Surface* argb = rendered == nullptr
                                ? nullptr
                                : SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        if (argb == nullptr || TTF_GlyphMetrics32(font, static_cast<unsigned char>(c), &min_x,
                                                  &max_x, &min_y, &max_y, &glyph.advance) != 0) {
            SDL_FreeSurface(argb);
            return {};
        }
        glyph.left = min_x < 0 ? min_x : 0;
        glyph.width = argb->w;
        glyph.height = argb->h;
        for (int y = 0; y < argb->h; ++y)
            for (int x = 0; x < argb->w; ++x)
                glyph.coverage.push_back(static_cast<uint8_t>(
                    static_cast<const uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x] >> 24));
        SDL_FreeSurface(argb);
    }
    return glyphs;
}

struct Fit {
    int core = 0, matched = 0;
    int extra = 0; // text-coloured pixels in the glyph's columns that it does not cover
};

// How well the glyph, drawn with its pen at x, fits the text-coloured pixels of the picture.
Fit fit(const Image& view, const Glyph& glyph, int pen_x, Rgb colour) {
    Fit f;
    for (int gy = 0; gy < glyph.height; ++gy)
        for (int gx = 0; gx < glyph.width; ++gx) {
            const int x = pen_x + glyph.left + gx, y = line_y + gy;
            if (x < 0 || y < 0 || x >= view.width || y >= view.height)
                continue;
            const uint8_t c = glyph.coverage[gy * glyph.width + gx];
            const bool is_text = pixel_at(view, x, y) == colour;
            f.core += c == 255;
            f.matched += c == 255 && is_text;
            f.extra += c == 0 && is_text && x >= pen_x && x < pen_x + glyph.advance;
        }
    return f;
}

std::string read_number(const Image& view, const Glyphs& glyphs) {
    // The text's colour is that of the first fully covered pixel of the F.
    const Glyph& f = glyphs.at('F');
    Rgb colour;
    for (size_t i = 0; i < f.coverage.size(); ++i)
        if (f.coverage[i] == 255) {
            colour = pixel_at(view, line_x + f.left + static_cast<int>(i) % f.width,
                              line_y + static_cast<int>(i) / f.width);
            break;
        }
    int pen = line_x;
    for (const char c : std::string("FPS:")) {
        const Fit fitted = fit(view, glyphs.at(c), pen, colour);
        // The text's colour is the glyphs' and not what lies around them as well.
        if (fitted.core == 0 || fitted.matched != fitted.core || fitted.extra * 2 > fitted.core)
            return "none";
        pen += glyphs.at(c).advance;
    }
    std::string number;
    while (number.size() < 8) {
        char best = 0;
        Fit best_fit;
        for (char d = '0'; d <= '9'; ++d) {
            const Fit f = fit(view, glyphs.at(d), pen, colour);
            if (f.core > 0 && f.matched == f.core &&
                (best == 0 || f.extra < best_fit.extra ||
                 (f.extra == best_fit.extra && f.core > best_fit.core))) {
                best = d;
                best_fit = f;
            }
        }
        if (best == 0)
            break;
        number += best;
        pen += glyphs.at(best).advance;
    }
    return number.empty() ? "none" : number;
}

// Draws the text as the game does: glyph by glyph from the pen, full coverage in the exact
// colour, partial coverage blended with what is under it.
void draw_line(Image* view, const Glyphs& glyphs, const std::string& text, Rgb colour) {
    int pen = line_x;
    for (const char c : text) {
        const Glyph& glyph = glyphs.at(c);
        for (int gy = 0; gy < glyph.height; ++gy)
            for (int gx = 0; gx < glyph.width; ++gx) {
                const int x = pen + glyph.left + gx, y = line_y + gy;
                const int alpha = glyph.coverage[gy * glyph.width + gx];
                if (x < 0 || y < 0 || x >= view->width || y >= view->height || alpha == 0)
                    continue;
                uint8_t* p = &view->rgb[(static_cast<size_t>(y) * view->width + x) * 3];
                const uint8_t over[3] = {colour.r, colour.g, colour.b};
                for (int k = 0; k < 3; ++k)
                    p[k] =
                        static_cast<uint8_t>((over[k] * alpha + p[k] * (255 - alpha) + 127) / 255);
            }
        pen += glyph.advance;
    }
}

int self_test(const Glyphs& glyphs) {
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
        draw_line(&view, glyphs, "FPS:" + number, colour);
        const std::string read = read_number(view, glyphs);
        right += read == number;
        if (read != number)
            std::printf("drew %s, read %s\n", number.c_str(), read.c_str());
    }
    const bool none_on_blank =
        read_number({400, 400, std::vector<uint8_t>(400 * 400 * 3, 40)}, glyphs) == "none";
    std::printf("self-test: %d of %d numbers read back; a view without the line reads %s\n", right,
                rounds, none_on_blank ? "none" : "something");
    return right == rounds && none_on_blank ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s VIEW.ppm | --self-test\n", argv[0]);
        return 2;
    }
    const bool testing_itself = std::string(argv[1]) == "--self-test";
    Image view;
    std::ifstream in(argv[1], std::ios::binary);
    if (!testing_itself && !parse_ppm({std::istreambuf_iterator<char>(in), {}}, &view)) {
        std::fprintf(stderr, "%s: not a binary PPM picture\n", argv[1]);
        return 2;
    }
    if (TTF_Init() != 0)
        return 2;
    TTF_Font* font = nullptr;
    for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                             "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf", "DejaVuSans-Bold.ttf"})
        if (font == nullptr)
            font = TTF_OpenFont(path, 11);
    if (font == nullptr) {
        std::fprintf(stderr, "no DejaVu Sans Bold font\n");
        return 2;
    }
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    TTF_SetFontKerning(font, 0);
    const Glyphs glyphs = render_glyphs(font);
    int status = 0;
    if (glyphs.empty()) {
        std::fprintf(stderr, "cannot render the glyphs\n");
        status = 2;
    } else if (testing_itself) {
        status = self_test(glyphs);
    } else {
        std::printf("%s\n", read_number(view, glyphs).c_str());
    }
    TTF_CloseFont(font);
    TTF_Quit();
    return status;
}
