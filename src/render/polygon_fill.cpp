// A scanline polygon filler over integer corners. Every edge is stepped down the rows whose
// pixel centres it spans with exact integer arithmetic, giving per row the first pixel whose
// centre lies at or right of the edge. A polygon whose outline goes down once and up once
// (every convex face) is filled straight from its two sides; any other collects the crossings
// of each row, sorts them and fills between pairs. Spans are written four pixels at a time.
// Polygons a few pixels across, most of them particles, are painted from the same rule with no
// division, a few pixels at a time.
#include "render/polygon_fill.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/whole_numbers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline int32_t next_corner(int32_t i, int32_t count) {
    return i + 1 == count ? 0 : i + 1;
}
inline int32_t previous_corner(int32_t i, int32_t count) {
    return i == 0 ? count - 1 : i - 1;
}

// Steps down an edge from a to b (a above b) one row at a time.
struct EdgeStep {
    // The crossing, less half a pixel, is first + excess / denominator with excess in
    // (-denominator, 0]: first is the first pixel whose centre is at or right of the edge.
    int64_t first, excess;
    int64_t step_q, step_r; // added per row
    int64_t denominator;
    int32_t end_row; // the first row the edge no longer spans

    void start(IntPoint a, IntPoint b, int32_t row) {
        const int64_t dy = static_cast<int64_t>(b.y) - a.y;
        const int64_t dx = static_cast<int64_t>(b.x) - a.x;
        denominator = 2 * dy;
        const int64_t num = (2 * static_cast<int64_t>(a.x) - 1) * dy +
                            (2 * (static_cast<int64_t>(row) - a.y) + 1) * dx;
        // From its top corner a steep edge crosses within a pixel of it: num / denominator is
        // a.x + (dx - dy) / (2 dy), whose floor is a.x - 1, or a.x when dx == dy.
        int64_t q;
        if (row == a.y && dx >= -dy && dx <= dy)
            q = a.x - 1 + (dx == dy ? 1 : 0);
        else
            q = floor_div(num, denominator);
        const int64_t r = num - q * denominator;
        first = r != 0 ? q + 1 : q;
        excess = r != 0 ? r - denominator : 0;
        // Steep edges, the most common, step by 0 or -1 pixels and a remainder: no division.
        if (dx >= 0 && dx < dy)
            step_q = 0;
        else if (dx < 0 && -dx <= dy)
            step_q = -1;
        else
            step_q = floor_div(2 * dx, denominator);
        step_r = 2 * dx - step_q * denominator;
        end_row = b.y;
    }
    int32_t pixel(int32_t width) const {
        return static_cast<int32_t>(std::clamp<int64_t>(first, 0, width));
    }
    void next_row() {
        // Without a branch: whether the remainder carries follows the slope, which no predictor
        // can guess row by row.
        first += step_q;
        excess += step_r;
        const int64_t carry = excess > 0 ? 1 : 0;
        first += carry;
        excess -= denominator & -carry;
    }
};

inline void fill_span(uint32_t* row, int32_t from, int32_t to, uint32_t pixel) {
#if defined(__SSE2__)
    if (to - from >= 4) {
        // The first and last four pixels are stored as they fall, overlapping the stores
        // between them, which are aligned so that none splits a cache line.
        const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
        uint32_t* const end = row + to;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + from), four);
        auto* p = reinterpret_cast<__m128i*>((reinterpret_cast<uintptr_t>(row + from) + 16) &
                                             ~static_cast<uintptr_t>(15));
        // Two stores a turn: the loop's own upkeep would otherwise hold the stores back.
        for (; reinterpret_cast<uint32_t*>(p) + 8 <= end; p += 2) {
            _mm_store_si128(p, four);
            _mm_store_si128(p + 1, four);
        }
        if (reinterpret_cast<uint32_t*>(p) + 4 <= end)
            _mm_store_si128(p, four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
        return;
    }
#endif
    for (int32_t x = from; x < to; ++x)
        row[x] = pixel;
}

// True when the outline turns between going down and going up exactly twice: every row then
// crosses it exactly twice.
bool outline_is_monotone(const IntPoint* corners, int32_t count) {
    int32_t turns = 0, last_direction = 0, first_direction = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t dy = corners[next_corner(i, count)].y - corners[i].y;
        if (dy == 0)
            continue;
        const int32_t direction = dy > 0 ? 1 : -1;
        if (first_direction == 0)
            first_direction = direction;
        else if (direction != last_direction)
            ++turns;
        last_direction = direction;
    }
    if (last_direction != first_direction)
        ++turns;
    return turns == 2;
}

// One side of a monotone outline, walked from the top corner to the bottom one.
struct Side {
    const IntPoint* corners;
    int32_t count;
    int32_t at;   // the corner the current edge starts from
    bool forward; // which way round the outline
    EdgeStep edge;

    // Moves on to the edge that spans row, starting its stepping there.
    void reach(int32_t row) {
        for (;;) {
            const int32_t to = forward ? next_corner(at, count) : previous_corner(at, count);
            if (corners[to].y > row) {
                edge.start(corners[at], corners[to], row);
                return;
            }
            at = to;
        }
    }
};

// Inside is true when every corner lies within the canvas's columns (0 to width): every
// crossing then does too, and needs no clamping.
template <bool inside>
void fill_monotone(Canvas* canvas, const IntPoint* corners, int32_t count, int32_t top_corner,
                   int32_t top, int32_t bottom, uint32_t pixel) {
    Side left{corners, count, top_corner, true, {}};
    Side right{corners, count, top_corner, false, {}};
    left.reach(top);
    right.reach(top);
    uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(top) * canvas->pitch;
    int32_t y = top;
    // Rows in runs over which neither side turns a corner, with the stepping held in locals.
    for (;;) {
        const int32_t run_end = std::min({left.edge.end_row, right.edge.end_row, bottom});
        EdgeStep l = left.edge, r = right.edge;
        for (; y < run_end; ++y, row += canvas->pitch) {
            const auto a = static_cast<int32_t>(inside ? l.first : l.pixel(canvas->width));
            const auto b = static_cast<int32_t>(inside ? r.first : r.pixel(canvas->width));
            fill_span(row, std::min(a, b), std::max(a, b), pixel);
            l.next_row();
            r.next_row();
        }
        if (y >= bottom)
            return;
        left.edge = l;
        right.edge = r;
        if (y == left.edge.end_row)
            left.reach(y);
        if (y == right.edge.end_row)
            right.reach(y);
    }
}

// crossings[row * stride + i]: the i-th crossing found on the row, for the general case.
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

void fill_any(Canvas* canvas, const IntPoint* corners, int32_t count, int32_t top, int32_t bottom,
              uint32_t pixel) {
    make_room(canvas->height, count);
    std::fill(crossing_count.begin() + top, crossing_count.begin() + bottom, 0);
    for (int32_t i = 0; i < count; ++i) {
        IntPoint a = corners[i], b = corners[next_corner(i, count)];
        if (a.y == b.y)
            continue;
        if (a.y > b.y)
            std::swap(a, b);
        const int32_t first_row = std::max(a.y, top);
        const int32_t end_row = std::min(b.y, bottom);
        if (first_row >= end_row)
            continue;
        EdgeStep edge{};
        edge.start(a, b, first_row);
        for (int32_t y = first_row; y < end_row; ++y, edge.next_row())
            crossings[static_cast<size_t>(y) * stride + crossing_count[y]++] =
                edge.pixel(canvas->width);
    }
    for (int32_t y = top; y < bottom; ++y) {
        int32_t* xs = crossings.data() + static_cast<size_t>(y) * stride;
        std::sort(xs, xs + crossing_count[y]);
        uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(y) * canvas->pitch;
        for (int32_t i = 0; i + 1 < crossing_count[y]; i += 2)
            fill_span(row, xs[i], xs[i + 1], pixel);
    }
}

#if defined(__SSE2__)
// The tallest polygon, in rows, that fill_small takes.
constexpr int32_t small_rows = 16;

// A polygon at most eight pixels wide and small_rows tall, painted without a division. A pixel
// is painted when an odd number of the edges spanning its row cross the row at or left of its
// centre; since every row is crossed an even number of times, that is when an odd number cross
// right of it. For an edge from a down to b, value(x, y) = (2 (a.x - x) - 1) dy + (2 (y - a.y) +
// 1) dx is 2 dy times how far right of the centre of pixel x the edge crosses row y: it moves by
// a constant from pixel to pixel and from row to row, and stays small since the polygon does.
// The edges mark the rows of one or two blocks of four pixels from x0, which lie within the
// canvas and hold the whole polygon; marked pixels take the colour, the others are stored back.
template <int32_t blocks> struct SmallTile { __m128i rows[small_rows][blocks]; };

// Marks the pixels of the polygon in the tile's rows first_row to end_row, blocks from x0.
template <int32_t blocks>
void mark_small(SmallTile<blocks>& marks, const IntPoint* corners, int32_t count, int32_t x0,
                int32_t first_row, int32_t end_row) {
    for (int32_t y = first_row; y < end_row; ++y)
        for (int32_t j = 0; j < blocks; ++j)
            marks.rows[y - first_row][j] = _mm_setzero_si128();
    for (int32_t i = 0; i < count; ++i) {
        IntPoint a = corners[i], b = corners[next_corner(i, count)];
        if (a.y > b.y)
            std::swap(a, b);
        const int32_t from = std::max(a.y, first_row), to = std::min(b.y, end_row);
        if (from >= to)
            continue; // level, or outside the rows: it crosses none of them
        const int32_t dy = b.y - a.y, dx = b.x - a.x;
        const int32_t value = (2 * (a.x - x0) - 1) * dy + (2 * (from - a.y) + 1) * dx;
        // 0, 2 dy, 4 dy and 6 dy in one multiply: dy is at most small_rows, so it and the
        // lanes' factors fit the 16-bit halves that pmaddwd multiplies.
        const __m128i lane_steps = _mm_madd_epi16(_mm_set1_epi32(dy), _mm_setr_epi32(0, 2, 4, 6));
        __m128i values[blocks];
        values[0] = _mm_sub_epi32(_mm_set1_epi32(value), lane_steps);
        if constexpr (blocks == 2)
            values[1] = _mm_sub_epi32(values[0], _mm_set1_epi32(8 * dy));
        const __m128i step = _mm_set1_epi32(2 * dx);
        for (int32_t y = from; y < to; ++y)
            for (int32_t j = 0; j < blocks; ++j) {
                __m128i& mark = marks.rows[y - first_row][j];
                mark = _mm_xor_si128(mark, _mm_cmpgt_epi32(values[j], _mm_setzero_si128()));
                values[j] = _mm_add_epi32(values[j], step);
            }
    }
}

template <int32_t blocks>
void load_tile(SmallTile<blocks>& tile, const Canvas* canvas, int32_t x0, int32_t first_row,
               int32_t end_row) {
    const uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(first_row) * canvas->pitch + x0;
    for (int32_t y = first_row; y < end_row; ++y, row += canvas->pitch)
        for (int32_t j = 0; j < blocks; ++j)
            tile.rows[y - first_row][j] =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * j));
}

template <int32_t blocks>
void store_tile(const SmallTile<blocks>& tile, Canvas* canvas, int32_t x0, int32_t first_row,
                int32_t end_row) {
    uint32_t* row = canvas->pixels + static_cast<ptrdiff_t>(first_row) * canvas->pitch + x0;
    for (int32_t y = first_row; y < end_row; ++y, row += canvas->pitch)
        for (int32_t j = 0; j < blocks; ++j)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 4 * j), tile.rows[y - first_row][j]);
}

// The marked pixels of the tile take the colour: marks row y is tile row from + y.
template <int32_t blocks>
void paint_marked(SmallTile<blocks>& tile, const SmallTile<blocks>& marks, int32_t from,
                  int32_t rows, uint32_t pixel) {
    const __m128i colour = _mm_set1_epi32(static_cast<int>(pixel));
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t j = 0; j < blocks; ++j) {
            const __m128i mark = marks.rows[y][j];
            __m128i& under = tile.rows[from + y][j];
            under = _mm_or_si128(_mm_andnot_si128(mark, under), _mm_and_si128(mark, colour));
        }
}
template <int32_t blocks>
void fill_small(Canvas* canvas, const IntPoint* corners, int32_t count, int32_t x0,
                int32_t first_row, int32_t end_row, uint32_t pixel) {
    SmallTile<blocks> marks, tile;
    mark_small(marks, corners, count, x0, first_row, end_row);
    load_tile(tile, canvas, x0, first_row, end_row);
    paint_marked(tile, marks, 0, end_row - first_row, pixel);
    store_tile(tile, canvas, x0, first_row, end_row);
}

// Quads within one small tile, painted in order on the tile held in registers and stored once.
template <int32_t blocks>
void fill_small_quads(Canvas* canvas, const IntPoint* points, const int8_t (*quads)[4],
                      const int32_t* order, const Colour* colours, int32_t count, int32_t x0,
                      int32_t first_row, int32_t end_row) {
    SmallTile<blocks> marks, tile;
    load_tile(tile, canvas, x0, first_row, end_row);
    for (int32_t n = 0; n < count; ++n) {
        const int8_t* quad = quads[order[n]];
        const IntPoint corners[4] = {points[quad[0]], points[quad[1]], points[quad[2]],
                                     points[quad[3]]};
        // Only the rows whose pixel centres lie between the quad's top and bottom can be marked.
        const int32_t from = std::max(first_row, std::min(std::min(corners[0].y, corners[1].y),
                                                          std::min(corners[2].y, corners[3].y)));
        const int32_t to = std::min(end_row, std::max(std::max(corners[0].y, corners[1].y),
                                                      std::max(corners[2].y, corners[3].y)));
        if (from >= to)
            continue;
        mark_small(marks, corners, 4, x0, from, to);
        paint_marked(tile, marks, from - first_row, to - from, pixel_of(colours[n]));
    }
    store_tile(tile, canvas, x0, first_row, end_row);
}

// The blocks of four pixels from x0 that hold every column from left to right, when the
// polygons are small enough for fill_small: 0 when they are not.
int32_t small_blocks(const Canvas* canvas, int32_t left, int32_t right, int32_t top, int32_t bottom,
                     int32_t& x0) {
    if (bottom - top > small_rows || left < 0 || right > canvas->width || right - left > 8 ||
        canvas->width < 8)
        return 0;
    x0 = std::min(left, canvas->width - 8);
    return right - left <= 4 && x0 + 4 >= right ? 1 : 2;
}
#endif

} // namespace

void fill_polygon(Canvas* canvas, const IntPoint* corners, int32_t corner_count, Colour colour) {
    if (corner_count < 3 || canvas->width <= 0 || canvas->height <= 0)
        return;
    int32_t top_corner = 0, top = corners[0].y, bottom = corners[0].y;
    int32_t left = corners[0].x, right = corners[0].x;
    for (int32_t i = 1; i < corner_count; ++i) {
        if (corners[i].y < top) {
            top = corners[i].y;
            top_corner = i;
        }
        bottom = std::max(bottom, corners[i].y);
        left = std::min(left, corners[i].x);
        right = std::max(right, corners[i].x);
    }
    const int32_t first_row = std::max(top, 0);
    const int32_t end_row = std::min(bottom, canvas->height);
    // No pixel centre lies in rows outside top to bottom or columns outside left to right.
    if (first_row >= end_row || right <= 0 || left >= canvas->width)
        return;
    const uint32_t pixel = pixel_of(colour);
#if defined(__SSE2__)
    int32_t x0 = 0;
    switch (small_blocks(canvas, left, right, top, bottom, x0)) {
    case 1:
        return fill_small<1>(canvas, corners, corner_count, x0, first_row, end_row, pixel);
    case 2:
        return fill_small<2>(canvas, corners, corner_count, x0, first_row, end_row, pixel);
    }
#endif
    if (!outline_is_monotone(corners, corner_count))
        fill_any(canvas, corners, corner_count, first_row, end_row, pixel);
    else if (left >= 0 && right <= canvas->width)
        fill_monotone<true>(canvas, corners, corner_count, top_corner, first_row, end_row, pixel);
    else
        fill_monotone<false>(canvas, corners, corner_count, top_corner, first_row, end_row, pixel);
}

void fill_quads(Canvas* canvas, const IntPoint* points, int32_t point_count,
                const int8_t (*quads)[4], const int32_t* order, const Colour* colours,
                int32_t count) {
#if defined(__SSE2__)
    int32_t top = points[0].y, bottom = points[0].y, left = points[0].x, right = points[0].x;
    for (int32_t i = 1; i < point_count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
    }
    const int32_t first_row = std::max(top, 0), end_row = std::min(bottom, canvas->height);
    if (first_row >= end_row || canvas->width <= 0)
        return;
    int32_t x0 = 0;
    switch (small_blocks(canvas, left, right, top, bottom, x0)) {
    case 1:
        return fill_small_quads<1>(canvas, points, quads, order, colours, count, x0, first_row,
                                   end_row);
    case 2:
        return fill_small_quads<2>(canvas, points, quads, order, colours, count, x0, first_row,
                                   end_row);
    }
#endif
    for (int32_t n = 0; n < count; ++n) {
        const int8_t* quad = quads[order[n]];
        const IntPoint corners[4] = {points[quad[0]], points[quad[1]], points[quad[2]],
                                     points[quad[3]]};
        fill_polygon(canvas, corners, 4, colours[n]);
    }
}
