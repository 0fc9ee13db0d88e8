// Finding the overlay text by its one colour that changes between frames.
#include "tests/e2e/overlay.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

uint32_t pack(Rgb p) {
    return (uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b;
}

Rgb unpack(uint32_t v) {
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

// Lines are centred on x = 200; a line of text has at least this many core pixels.
constexpr int min_line_pixels = 40;

int width_of(const Extent& e) {
    return e.count == 0 ? 0 : e.right - e.left + 1;
}

// Wider gaps than this end a line: the widest gap inside one is the three spaces of the
// game-over line.
constexpr int max_gap_in_line = 20;

// The pixels of one line of text: those of the text colour that changed between the pictures
// (a pixel of the scene that happens to have that colour does not change), kept together around
// the one nearest the middle of the view, so that a stray pixel does not widen the line.
Extent line_extent(const Image& first, const Image& second, Rect rows, Rgb colour) {
    struct Point {
        int x, y;
    };
    std::vector<Point> points;
    for (int y = rows.top; y < rows.bottom; ++y)
        for (int x = rows.left; x < rows.right; ++x)
            if (pixel_at(first, x, y) == colour && !(pixel_at(second, x, y) == colour))
                points.push_back({x, y});
    if (points.empty())
        return {};
    std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
    size_t middle = 0;
    for (size_t i = 1; i < points.size(); ++i)
        if (std::abs(points[i].x - 200) < std::abs(points[middle].x - 200))
            middle = i;
    size_t first_index = middle, last_index = middle;
    while (first_index > 0 && points[first_index].x - points[first_index - 1].x <= max_gap_in_line)
        --first_index;
    while (last_index + 1 < points.size() &&
           points[last_index + 1].x - points[last_index].x <= max_gap_in_line)
        ++last_index;
    Extent e{0, points[first_index].x, rows.bottom, points[last_index].x, rows.top};
    for (size_t i = first_index; i <= last_index; ++i) {
        ++e.count;
        e.top = std::min(e.top, points[i].y);
        e.bottom = std::max(e.bottom, points[i].y);
    }
    return e;
}

} // namespace

OverlayReading read_overlay(const Image& first, const Image& second) {
    OverlayReading reading;
    if (first.width != second.width || first.height != second.height)
        return reading;
    std::unordered_map<uint32_t, int> changed_by_colour;
    const Rect band = overlay_band;
    for (int y = band.top; y < band.bottom; ++y)
        for (int x = band.left; x < band.right; ++x) {
            const Rgb a = pixel_at(first, x, y);
            if (a == pixel_at(second, x, y))
                continue;
            ++reading.changed;
            ++changed_by_colour[pack(a)];
        }
    uint32_t best = 0;
    int best_count = 0;
    for (const auto& [colour, count] : changed_by_colour)
        if (count > best_count) {
            best = colour;
            best_count = count;
        }
    if (best_count == 0)
        return reading;
    reading.colour = unpack(best);
    reading.line1 = line_extent(
        first, second, {band.left, band.top, band.right, overlay_line_split}, reading.colour);
    reading.line2 = line_extent(
        first, second, {band.left, overlay_line_split, band.right, band.bottom}, reading.colour);
    // Both lines, of one colour, each spread sideways like text and roughly centred.
    auto looks_like_text = [](const Extent& line) {
        const int middle = (line.left + line.right) / 2;
        return line.count >= min_line_pixels && width_of(line) >= 40 && middle > 170 &&
               middle < 230;
    };
    reading.present = best_count >= 2 * min_line_pixels && looks_like_text(reading.line1) &&
                      looks_like_text(reading.line2);
    return reading;
}

OverlayKind overlay_kind(const OverlayReading& reading) {
    if (!reading.present)
        return OverlayKind::none;
    // First lines: "P A U S E D" about 70 px wide, "G A M E   O V E R" about 120, the new
    // hi-score line about 250.
    const int width = width_of(reading.line1);
    if (width >= 50 && width <= 95)
        return OverlayKind::paused;
    if (width >= 100 && width <= 160)
        return OverlayKind::game_over;
    if (width >= 190 && width <= 330)
        return OverlayKind::new_hiscore;
    return OverlayKind::unknown;
}

std::string describe(const OverlayReading& reading) {
    auto line = [](const Extent& e) {
        return std::to_string(e.count) + " px, x " + std::to_string(e.left) + ".." +
               std::to_string(e.right) + ", y " + std::to_string(e.top) + ".." +
               std::to_string(e.bottom);
    };
    return std::string(name_of(overlay_kind(reading))) + " (colour " + to_string(reading.colour) +
           ", " + std::to_string(reading.changed) +
           " band pixels changed; line 1: " + line(reading.line1) +
           "; line 2: " + line(reading.line2) + ")";
}

const char* name_of(OverlayKind kind) {
    switch (kind) {
    case OverlayKind::none:
        return "no overlay";
    case OverlayKind::paused:
        return "pause overlay";
    case OverlayKind::game_over:
        return "game-over overlay";
    case OverlayKind::new_hiscore:
        return "new-hi-score overlay";
    case OverlayKind::unknown:
        return "overlay of unknown width";
    }
    return "?";
}

void PrintTo(OverlayKind kind, std::ostream* out) {
    *out << name_of(kind);
}
