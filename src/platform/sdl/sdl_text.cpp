// Text on SDL_ttf: each glyph is rendered once into a cache of coverage masks, then blended
// into canvases in whatever colour the text is drawn.
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/text.h"
#include "store/data_file.h"
#include "store/say.h"

namespace {

constexpr const char* font_paths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
    "DejaVuSans-Bold.ttf",
};
constexpr int font_size = 11;

struct Glyph {
    bool ready;
    int32_t left;    // from the pen position to the mask's first column
    int32_t advance; // pen movement to the next glyph
    int32_t width, height;
    std::vector<uint8_t> coverage;
};

TTF_Font* font = nullptr;
std::vector<uint8_t> font_file; // the open font reads its glyphs from here
bool font_tried = false;
int32_t line_height = 0;
std::array<Glyph, 256> glyphs{};

TTF_Font* font_from(const std::vector<uint8_t>& bytes) {
    return TTF_OpenFontRW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1,
                          font_size);
}

const char* font_problem(const std::vector<uint8_t>& bytes) {
    TTF_Font* tried = font_from(bytes);
    TTF_CloseFont(tried);
    return tried == nullptr ? "not a font SDL_ttf can open" : nullptr;
}

bool open_font() {
    if (font_tried)
        return font != nullptr;
    font_tried = true;
    if (TTF_WasInit() == 0 && TTF_Init() != 0)
        return false;
    for (const char* path : font_paths)
        if (read_data_file(path, &font_file, font_problem) &&
            (font = font_from(font_file)) != nullptr)
            break;
    if (font == nullptr) {
        say("no usable font (DejaVu Sans Bold, from the package fonts-dejavu-core); the game "
            "shows no text");
        return false;
    }
    // Hinting changes which pixels are lit; keep it fixed so pictures stay comparable.
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    TTF_SetFontKerning(font, 0);
    line_height = TTF_FontHeight(font);
    return true;
}

const Glyph& glyph_of(unsigned char c) {
    Glyph& glyph = glyphs[c];
    if (glyph.ready)
        return glyph;
    glyph.ready = true;
    int min_x = 0, max_x = 0, min_y = 0, max_y = 0, advance = 0;
    if (TTF_GlyphMetrics32(font, c, &min_x, &max_x, &min_y, &max_y, &advance) != 0)
        return glyph;
    glyph.advance = advance;
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, c, SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr)
        return glyph;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr)
        return glyph;
    glyph.left = std::min(min_x, 0);
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

uint32_t blend(uint32_t under, uint32_t over, uint32_t alpha) {
    const uint32_t keep = 255 - alpha;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF;
        const uint32_t b = (over >> shift) & 0xFF;
        out |= ((b * alpha + a * keep + 127) / 255) << shift;
    }
    return out;
}

#if defined(__SSE2__)
// blend of four pixels with their four coverages. Every channel sum is below 2^16, and
// (v * 0x8081) >> 23 is v / 255 for all such v.
__m128i blend_four(__m128i under, const uint8_t* coverage, __m128i over) {
    int32_t four;
    std::memcpy(&four, coverage, sizeof four);
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha_bytes = _mm_cvtsi32_si128(four);
    const __m128i pairs = _mm_unpacklo_epi8(alpha_bytes, alpha_bytes);
    const __m128i alpha = _mm_unpacklo_epi16(pairs, pairs); // each pixel's alpha in its 4 bytes
    const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(127);
    const __m128i divide = _mm_set1_epi16(static_cast<int16_t>(0x8081));
    const auto channels = [&](__m128i a, __m128i u, __m128i o) {
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(o, a), _mm_mullo_epi16(u, _mm_sub_epi16(full, a))), half);
        return _mm_srli_epi16(_mm_mulhi_epu16(sum, divide), 7);
    };
    const __m128i low = channels(_mm_unpacklo_epi8(alpha, zero), _mm_unpacklo_epi8(under, zero),
                                 _mm_unpacklo_epi8(over, zero));
    const __m128i high = channels(_mm_unpackhi_epi8(alpha, zero), _mm_unpackhi_epi8(under, zero),
                                  _mm_unpackhi_epi8(over, zero));
    const __m128i blended = _mm_packus_epi16(low, high);
    // The sums give the under pixel whole at alpha 0 and the text's at 255; in between the
    // fourth byte is clear, as blend leaves it.
    const __m128i partial = _mm_cmpeq_epi32(
        _mm_or_si128(_mm_cmpeq_epi8(alpha, zero), _mm_cmpeq_epi8(alpha, _mm_set1_epi8(-1))), zero);
    return _mm_andnot_si128(
        _mm_and_si128(partial, _mm_set1_epi32(static_cast<int32_t>(0xFF000000u))), blended);
}
#endif

void blend_glyph(Canvas* canvas, const Glyph& glyph, int32_t x, int32_t y, uint32_t pixel) {
    const int32_t x0 = std::max(0, -x), y0 = std::max(0, -y);
    const int32_t x1 = std::min(glyph.width, canvas->width - x);
    const int32_t y1 = std::min(glyph.height, canvas->height - y);
#if defined(__SSE2__)
    const __m128i over = _mm_set1_epi32(static_cast<int32_t>(pixel));
#endif
    for (int32_t gy = y0; gy < y1; ++gy) {
        const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
        uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(y + gy) * canvas->pitch + x;
        int32_t gx = x0;
#if defined(__SSE2__)
        for (; gx + 4 <= x1; gx += 4) {
            auto* four = reinterpret_cast<__m128i*>(row + gx);
            _mm_storeu_si128(four, blend_four(_mm_loadu_si128(four), coverage + gx, over));
        }
#endif
        for (; gx < x1; ++gx) {
            const uint32_t alpha = coverage[gx];
            if (alpha == 255)
                row[gx] = pixel;
            else if (alpha != 0)
                row[gx] = blend(row[gx], pixel, alpha);
        }
    }
}

} // namespace

void draw_text(Canvas* canvas, int32_t x, int32_t y, const char* text, int32_t length) {
    if (canvas == nullptr || text == nullptr || length <= 0 || !open_font())
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int32_t width = 0;
    for (int32_t i = 0; i < length; ++i)
        width += glyph_of(bytes[i]).advance;
    if (canvas->align == TextAlign::centre_top)
        x -= width / 2;
    if (canvas->background_mode == BackgroundMode::opaque)
        fill_rect(canvas, x, y, x + width, y + line_height, canvas->background_colour);
    const uint32_t pixel = pixel_of(canvas->text_colour);
    for (int32_t i = 0; i < length; ++i) {
        const Glyph& glyph = glyph_of(bytes[i]);
        blend_glyph(canvas, glyph, x + glyph.left, y, pixel);
        x += glyph.advance;
    }
}
