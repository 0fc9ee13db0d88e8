// The layouts of the side screens, as rectangles and colours.
#include "tests/e2e/side_screens.h"

#include "tests/e2e/view_reading.h"

namespace {

std::string check_spot(const Image& view, const TextSpot& spot) {
    const Extent e = extent_of_colour(view, spot.rect, spot.colour);
    auto where = [&] {
        return spot.what + " (" + to_string(spot.colour) + " in x " +
               std::to_string(spot.rect.left) + ".." + std::to_string(spot.rect.right - 1) +
               ", y " + std::to_string(spot.rect.top) + ".." +
               std::to_string(spot.rect.bottom - 1) + "): ";
    };
    if (e.count < spot.min_pixels)
        return where() + std::to_string(e.count) + " pixels, expected at least " +
               std::to_string(spot.min_pixels) + "\n";
    if (spot.left_from >= 0 && (e.left < spot.left_from || e.left > spot.left_to))
        return where() + "starts at x " + std::to_string(e.left) + ", expected " +
               std::to_string(spot.left_from) + ".." + std::to_string(spot.left_to) + "\n";
    const int middle = (e.left + e.right) / 2;
    if (spot.centre_x >= 0 && (middle < spot.centre_x - 6 || middle > spot.centre_x + 6))
        return where() + "centred on x " + std::to_string(middle) + ", expected " +
               std::to_string(spot.centre_x) + "\n";
    return {};
}

TextSpot heading(const std::string& what) {
    return {what, {130, 8, 270, 26}, heading_white, 15, -1, -1, 200};
}

// The colours of the other screens may not show anywhere on this one.
std::string check_none_of(const Image& view, std::initializer_list<Rgb> colours,
                          const std::string& screen) {
    std::string problems;
    for (Rgb colour : colours)
        problems += check_absent(view, whole_view, colour, "on the " + screen);
    return problems;
}

} // namespace

std::string check_spots(const Image& view, const std::vector<TextSpot>& spots) {
    std::string problems;
    for (const TextSpot& spot : spots)
        problems += check_spot(view, spot);
    return problems;
}

std::string check_absent(const Image& view, Rect rect, Rgb colour, const std::string& what) {
    const Extent e = extent_of_colour(view, rect, colour);
    if (e.count == 0)
        return {};
    return to_string(colour) + " " + what + ": " + std::to_string(e.count) + " pixels in x " +
           std::to_string(e.left) + ".." + std::to_string(e.right) + ", y " +
           std::to_string(e.top) + ".." + std::to_string(e.bottom) + "\n";
}

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
    std::string problems = check_spots(view, spots);
    problems += check_absent(view, {0, 0, 400, 56}, help_key_green, "above the key column");
    problems += check_absent(view, {0, 0, 400, 56}, help_text_yellow, "above the descriptions");
    problems += check_absent(view, {210, 0, 400, 400}, help_key_green, "right of the keys");
    problems += check_absent(view, {0, 0, 215, 400}, help_text_yellow, "left of the descriptions");
    problems += check_none_of(view, {column_blue, row_orange, about_amber}, "help screen");
    return problems;
}

Rect hiscore_cell(int row, int column) {
    constexpr int lefts[5] = {38, 98, 198, 278, 400};
    const int y = 100 + 25 * row;
    return {lefts[column], y, lefts[column + 1], y + 16};
}

namespace {

std::vector<TextSpot> hiscore_headings() {
    return {
        heading("heading HI-SCORES"),
        {"heading NAME", {40, 70, 120, 86}, column_blue, 10, -1, -1, 80},
        {"heading LEVEL", {115, 70, 175, 86}, column_blue, 10, -1, -1, 144},
        {"heading ACCURACY", {170, 70, 262, 86}, column_blue, 10, -1, -1, 216},
        {"heading POINTS", {262, 70, 346, 86}, column_blue, 10, -1, -1, 304},
    };
}

} // namespace

std::string hiscore_screen_problems(const Image& view) {
    std::vector<TextSpot> spots = hiscore_headings();
    const char* columns[4] = {"name", "level", "accuracy", "points"};
    const int lefts[4] = {40, 100, 200, 280};
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 4; ++column)
            spots.push_back({"row " + std::to_string(row + 1) + " " + columns[column],
                             hiscore_cell(row, column), row_orange, 4, lefts[column],
                             lefts[column] + 4});
    std::string problems = check_spots(view, spots);
    problems += check_absent(view, {0, 0, 400, 96}, row_orange, "above the rows");
    problems += check_absent(view, {0, 226, 400, 400}, row_orange, "below the rows");
    problems +=
        check_none_of(view, {help_key_green, help_text_yellow, about_amber}, "hi-score screen");
    return problems;
}

std::string hiscore_headings_problems(const Image& view) {
    return check_spots(view, hiscore_headings()) +
           check_none_of(view, {help_key_green, help_text_yellow, about_amber}, "hi-score screen");
}

std::string about_screen_problems(const Image& view) {
    std::vector<TextSpot> spots{heading("heading Zarnok3D v1.01")};
    for (int line = 0; line < 15; ++line) {
        const int y = 35 + 15 * line;
        spots.push_back({"body line " + std::to_string(line + 1),
                         {8, y, 395, y + 13},
                         about_amber,
                         10,
                         10,
                         60});
    }
    for (int line = 0; line < 6; ++line) {
        const int y = 305 + 15 * line;
        spots.push_back({"credit line " + std::to_string(line + 1),
                         {8, y, 395, y + 13},
                         about_amber,
                         10,
                         10,
                         60});
    }
    std::string problems = check_spots(view, spots);
    problems += check_absent(view, {0, 262, 400, 302}, about_amber, "between body and credits");
    problems += check_absent(view, {0, 0, 400, 30}, about_amber, "above the body");
    problems += check_none_of(view, {help_key_green, help_text_yellow, column_blue, row_orange},
                              "about screen");
    return problems;
}

std::string game_view_problems(const Image& view) {
    std::string problems;
    for (int row = 0; row < 4; ++row) {
        const std::string n = std::to_string(row + 1);
        problems += check_spots(
            view, {{"HUD label " + n, hud_label_rect(row), hud_label_green, 20, 0, 3},
                   {"HUD value " + n, hud_value_rect(row), hud_value_yellow, 5, 80, 84}});
    }
    problems += check_none_of(view, {column_blue, row_orange, about_amber}, "game view");
    problems += check_absent(view, {0, 80, 400, 400}, help_text_yellow, "below the HUD");
    return problems;
}
