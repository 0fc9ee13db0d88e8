// The layouts of the side screens, as rectangles and colours.
#include "tests/e2e/side_screens.h"

#include <vector>

#include "tests/e2e/view_reading.h"

namespace {

constexpr Rgb heading_white{255, 255, 255};
constexpr Rgb help_key_green{0, 255, 0};
constexpr Rgb help_text_yellow{255, 255, 0};
constexpr Rgb column_blue{48, 48, 216};
constexpr Rgb about_amber{229, 162, 0};

// A piece of text expected in a rectangle, in exactly its colour (glyph cores are exact).
struct TextSpot {
    std::string what;
    Rect rect;
    Rgb colour;
    int min_pixels = 8;
    int left_from = -1, left_to = -1; // left-aligned text: where its first pixel may lie
    int centre_x = -1;                // centred text: the middle of its pixels, give or take 6
};

std::string range(int from, int to) {
    return std::to_string(from) + ".." + std::to_string(to);
}

// "" when every spot holds its text; otherwise one line per spot that does not.
std::string check_spots(const Image& view, const std::vector<TextSpot>& spots) {
    std::string problems;
    for (const TextSpot& spot : spots) {
        const Extent e = extent_of_colour(view, spot.rect, spot.colour);
        const int middle = (e.left + e.right) / 2;
        std::string problem;
        if (e.count < spot.min_pixels)
            problem = std::to_string(e.count) + " pixels, expected at least " +
                      std::to_string(spot.min_pixels);
        else if (spot.left_from >= 0 && (e.left < spot.left_from || e.left > spot.left_to))
            problem = "starts at x " + std::to_string(e.left) + ", expected " +
                      range(spot.left_from, spot.left_to);
        else if (spot.centre_x >= 0 && std::abs(middle - spot.centre_x) > 6)
            problem = "centred on x " + std::to_string(middle) + ", expected " +
                      std::to_string(spot.centre_x);
        if (!problem.empty())
            problems += spot.what + " (" + to_string(spot.colour) + " in x " +
                        range(spot.rect.left, spot.rect.right - 1) + ", y " +
                        range(spot.rect.top, spot.rect.bottom - 1) + "): " + problem + "\n";
    }
    return problems;
}

// "" when the colour is nowhere in the rectangle; otherwise how much of it, and where.
std::string check_absent(const Image& view, Rect rect, Rgb colour, const std::string& what) {
    const Extent e = extent_of_colour(view, rect, colour);
    if (e.count == 0)
        return {};
    return to_string(colour) + " " + what + ": " + std::to_string(e.count) + " pixels in x " +
           range(e.left, e.right) + ", y " + range(e.top, e.bottom) + "\n";
}

// The colours of the other screens may not show anywhere on this one.
std::string check_none_of(const Image& view, std::initializer_list<Rgb> colours,
                          const std::string& screen) {
    std::string problems;
    for (Rgb colour : colours)
        problems += check_absent(view, whole_view, colour, "on the " + screen);
    return problems;
}

TextSpot heading(const std::string& what) {
    return {what, {130, 8, 270, 26}, heading_white, 15, -1, -1, 200};
}

std::vector<TextSpot> hiscore_headings() {
    return {
        heading("heading HI-SCORES"),
        {"heading NAME", {40, 70, 120, 86}, column_blue, 10, -1, -1, 80},
        {"heading LEVEL", {115, 70, 175, 86}, column_blue, 10, -1, -1, 144},
        {"heading ACCURACY", {170, 70, 262, 86}, column_blue, 10, -1, -1, 216},
        {"heading POINTS", {262, 70, 346, 86}, column_blue, 10, -1, -1, 304},
    };
}

std::string not_on_hiscores(const Image& view) {
    return check_none_of(view, {help_key_green, help_text_yellow, about_amber}, "hi-score screen");
}

} // namespace

std::string help_screen_problems(const Image& view) {
    std::vector<TextSpot> spots{heading("heading HELP")};
    for (int row = 0; row < 11; ++row) {
        const int y = 60 + 20 * row;
        const std::string n = std::to_string(row + 1);
        spots.push_back({"key " + n, {18, y, 210, y + 16}, help_key_green, 8, 20, 24});
        spots.push_back({"description " + n, {218, y, 400, y + 16}, help_text_yellow, 8, 220, 224});
    }
    spots.push_back({"Music Volume line", {8, 340, 300, 353}, heading_white, 20, 10, 14});
    spots.push_back({"Sound Volume line", {8, 355, 300, 368}, heading_white, 20, 10, 14});
    spots.push_back({"press any key line", {8, 380, 390, 395}, heading_white, 40, 10, 14});
    return check_spots(view, spots) +
           check_absent(view, {0, 0, 400, 56}, help_key_green, "above the key column") +
           check_absent(view, {0, 0, 400, 56}, help_text_yellow, "above the descriptions") +
           check_absent(view, {210, 0, 400, 400}, help_key_green, "right of the keys") +
           check_absent(view, {0, 0, 215, 400}, help_text_yellow, "left of the descriptions") +
           check_none_of(view, {column_blue, row_orange, about_amber}, "help screen");
}

Rect hiscore_cell(int row, int column) {
    constexpr int lefts[5] = {38, 98, 198, 278, 400};
    const int y = 100 + 25 * row;
    return {lefts[column], y, lefts[column + 1], y + 16};
}

std::string hiscore_screen_problems(const Image& view) {
    std::vector<TextSpot> spots = hiscore_headings();
    const char* columns[4] = {"name", "level", "accuracy", "points"};
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 4; ++column) {
            const Rect cell = hiscore_cell(row, column);
            spots.push_back({"row " + std::to_string(row + 1) + " " + columns[column], cell,
                             row_orange, 4, cell.left + 2, cell.left + 6});
        }
    return check_spots(view, spots) +
           check_absent(view, {0, 0, 400, 96}, row_orange, "above the rows") +
           check_absent(view, {0, 226, 400, 400}, row_orange, "below the rows") +
           not_on_hiscores(view);
}

std::string hiscore_headings_problems(const Image& view) {
    return check_spots(view, hiscore_headings()) + not_on_hiscores(view);
}

std::string about_screen_problems(const Image& view) {
    std::vector<TextSpot> spots{heading("heading Zarnok3D v1.01")};
    // Fifteen lines of body text, a gap, and six lines of credits.
    for (int line = 0; line < 21; ++line) {
        const int y = line < 15 ? 35 + 15 * line : 305 + 15 * (line - 15);
        const std::string what = line < 15 ? "body line " + std::to_string(line + 1)
                                           : "credit line " + std::to_string(line - 14);
        spots.push_back({what, {8, y, 395, y + 13}, about_amber, 10, 10, 60});
    }
    return check_spots(view, spots) +
           check_absent(view, {0, 262, 400, 302}, about_amber, "between body and credits") +
           check_absent(view, {0, 0, 400, 30}, about_amber, "above the body") +
           check_none_of(view, {help_key_green, help_text_yellow, column_blue, row_orange},
                         "about screen");
}

std::string game_view_problems(const Image& view) {
    std::vector<TextSpot> spots;
    for (int row = 0; row < 4; ++row) {
        const std::string n = std::to_string(row + 1);
        spots.push_back({"HUD label " + n, hud_label_rect(row), hud_label_green, 20, 0, 3});
        spots.push_back({"HUD value " + n, hud_value_rect(row), hud_value_yellow, 5, 80, 84});
    }
    return check_spots(view, spots) +
           check_none_of(view, {column_blue, row_orange, about_amber}, "game view") +
           check_absent(view, {0, 80, 400, 400}, help_text_yellow, "below the HUD");
}
