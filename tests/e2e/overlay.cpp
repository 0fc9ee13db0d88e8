// Finding the overlay text by its one colour that changes between frames.
#include "tests/e2e/overlay.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int line_split = 192; // line 1 above, line 2 below
// Lines are centred on x = 200; a line of text has at least this many core pixels.
constexpr int min_line_pixels = 40;
// Wider gaps than this end a line: the widest gap inside one is the three spaces of the
// game-over line.
constexpr int max_gap_in_line = 20;

// The pixels of one line of text: those of the text colour that changed between the pictures
// (a pixel of the scene that happens to have that colour does not change), kept together around
// the one nearest the middle of the view, so that a stray pixel does not widen the line.
Extent line_extent(const Image& first, const Image& second, Rect rows, Rgb colour) {
    std::vector<std::pair<int, int>> points; // x, y
    for (int y = rows.top; y < rows.bottom; ++y)
        for (int x = rows.left; x < rows.right; ++x)
            if (pixel_at(first, x, y) == colour && !(pixel_at(second, x, y) == colour))
                points.push_back({x, y});
    if (points.empty())
        return {};
    std::sort(points.begin(), points.end());
    size_t middle = 0;
    for (size_t i = 1; i < points.size(); ++i)
        if (std::abs(points[i].first - 200) < std::abs(points[middle].first - 200))
            middle = i;
    size_t first_index = middle, last_index = middle;
    while (first_index > 0 &&
           points[first_index].first - points[first_index - 1].first <= max_gap_in_line)
        --first_index;
    while (last_index + 1 < points.size() &&
           points[last_index + 1].first - points[last_index].first <= max_gap_in_line)
        ++last_index;
    Extent e{0, points[first_index].first, rows.bottom, points[last_index].first, rows.top};
    for (size_t i = first_index; i <= last_index; ++i) {
        ++e.count;
        e.top = std::min(e.top, points[i].second);
        e.bottom = std::max(e.bottom, points[i].second);
    }
    return e;
}

// A line of text: spread sideways and roughly centred.
bool looks_like_text(const Extent& line) {
    const int middle = (line.left + line.right) / 2;
    return line.count >= min_line_pixels && width_of(line) >= 40 && middle > 170 && middle < 230;
}

} // namespace

OverlayReading read_overlay(const Image& first, const Image& second) {
    OverlayReading reading;
    if (first.width != second.width || first.height != second.height)
        return reading;
    std::map<uint32_t, int> changed_by_colour;
    const Rect band = overlay_band;
    for (int y = band.top; y < band.bottom; ++y)
        for (int x = band.left; x < band.right; ++x)
            if (const Rgb a = pixel_at(first, x, y); !(a == pixel_at(second, x, y))) {
                ++reading.changed;
                ++changed_by_colour[(uint32_t{a.r} << 16) | (uint32_t{a.g} << 8) | a.b];
            }
    const auto best =
        std::max_element(changed_by_colour.begin(), changed_by_colour.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (best == changed_by_colour.end())
        return reading;
    reading.colour = {static_cast<uint8_t>(best->first >> 16),
                      static_cast<uint8_t>(best->first >> 8), static_cast<uint8_t>(best->first)};
    reading.line1 =
        line_extent(first, second, {band.left, band.top, band.right, line_split}, reading.colour);
    reading.line2 = line_extent(first, second, {band.left, line_split, band.right, band.bottom},
                                reading.colour);
    // Both lines, of one colour.
    reading.present = best->second >= 2 * min_line_pixels && looks_like_text(reading.line1) &&
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
    constexpr const char* names[] = {"no overlay", "pause overlay", "game-over overlay",
                                     "new-hi-score overlay", "overlay of unknown width"};
    return names[static_cast<int>(kind)];
}

void PrintTo(OverlayKind kind, std::ostream* out) {
    *out << name_of(kind);
}
