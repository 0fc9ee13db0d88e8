// A scanline polygon filler. Each edge is walked down the rows whose pixel centres it spans,
// with exact integer stepping, and leaves one crossing per row; each row then fills between
// pairs of sorted crossings. Row spans are written four pixels at a time.
#include "render/polygon_fill.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// crossings[row * stride + i]: the first pixel to the right of the i-th edge crossing the row.
std::vector<int32_t> crossings;
std::vector<int32_t> crossing_count;
int32_t stride = 0;

void make_room(int32_t rows, int32_t corner_count) {
    if (stride < corner_count || static_cast<int32_t>(crossing_count.size()) < rows) {
        stride = std::max(stride, corner_count);
        const size_t row_count = std::max(crossing_count.size(), static_cast<size_t>(rows));
        crossings.assign(row_count * static_cast<size_t>(stride), 0);
        crossing_count.assign(row_count, 0);
    }
}

int64_t floor_div(int64_t a, int64_t b) { // b > 0
    int64_t q = a / b;
    if ((a % b) != 0 && a < 0)
        --q;
    return q;
}

// Records, for rows top..bottom-1 within the canvas, where the edge from a to b crosses the
// row's centre line, as the first pixel whose centre lies at or right of the crossing.
void walk_edge(IntPoint a, IntPoint b, int32_t width, int32_t height) {
    if (a.y == b.y)
        return;
    if (a.y > b.y)
        std::swap(a, b);
    const int32_t first_row = std::max(a.y, 0);
    const int32_t end_row = std::min(b.y, height);
    if (first_row >= end_row)
        return;
    const int64_t dy = static_cast<int64_t>(b.y) - a.y;
    const int64_t dx = static_cast<int64_t>(b.x) - a.x;
    // The crossing of row y, less half a pixel, is num / denominator.
    const int64_t denominator = 2 * dy;
    const int64_t num = (2 * static_cast<int64_t>(a.x) - 1) * dy +
                        (2 * (static_cast<int64_t>(first_row) - a.y) + 1) * dx;
    int64_t q = floor_div(num, denominator);
    int64_t r = num - q * denominator;
    const int64_t step_q = floor_div(2 * dx, denominator);
    const int64_t step_r = 2 * dx - step_q * denominator;
    for (int32_t y = first_row; y < end_row; ++y) {
        const int64_t pixel = q + (r != 0 ? 1 : 0);
        const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(pixel, 0, width));
        crossings[static_cast<size_t>(y) * stride + crossing_count[y]++] = clamped;
        q += step_q;
        r += step_r;
        if (r >= denominator) {
            r -= denominator;
            ++q;
        }
    }
}

inline void fill_span(uint32_t* row, int32_t from, int32_t to, uint32_t pixel) {
    int32_t x = from;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; x + 4 <= to; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), four);
#endif
    for (; x < to; ++x)
        row[x] = pixel;
}

} // namespace

void fill_polygon(Canvas* canvas, const IntPoint* corners, int32_t corner_count, Colour colour) {
    if (corner_count < 3 || canvas->width <= 0 || canvas->height <= 0)
        return;
    make_room(canvas->height, corner_count);
    int32_t top = corners[0].y, bottom = corners[0].y;
    for (int32_t i = 1; i < corner_count; ++i) {
        top = std::min(top, corners[i].y);
        bottom = std::max(bottom, corners[i].y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, canvas->height);
    if (top >= bottom)
        return;
    std::fill(crossing_count.begin() + top, crossing_count.begin() + bottom, 0);
    for (int32_t i = 0; i < corner_count; ++i)
        walk_edge(corners[i], corners[(i + 1) % corner_count], canvas->width, canvas->height);

    const uint32_t pixel = pixel_of(colour);
    for (int32_t y = top; y < bottom; ++y) {
        int32_t* xs = crossings.data() + static_cast<size_t>(y) * stride;
        const int32_t count = crossing_count[y];
        uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(y) * canvas->pitch;
        if (count == 2) {
            fill_span(row, std::min(xs[0], xs[1]), std::max(xs[0], xs[1]), pixel);
            continue;
        }
        std::sort(xs, xs + count);
        for (int32_t i = 0; i + 1 < count; i += 2)
            fill_span(row, xs[i], xs[i + 1], pixel);
    }
}
