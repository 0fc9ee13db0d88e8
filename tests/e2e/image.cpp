// PPM parsing, pixel queries and saving pictures for a look after a failure.
#include "tests/e2e/image.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "tests/e2e/child_process.h"

namespace {

// Skips white space and comments, then reads one header number.
bool read_header_number(const std::string& bytes, size_t* at, int* value) {
    auto next = [&] { return *at < bytes.size() ? static_cast<unsigned char>(bytes[*at]) : 0; };
    while (next() == '#' || std::isspace(next())) {
        if (next() == '#')
            *at = std::min(bytes.find('\n', *at), bytes.size());
        else
            ++*at;
    }
    long number = 0;
    const size_t start = *at;
    while (std::isdigit(next()) && number < 1000000)
        number = number * 10 + (bytes[(*at)++] - '0');
    *value = static_cast<int>(number);
    return *at > start;
}

// Calls f(x, y) for each pixel of the rectangle that lies within the picture.
template <typename F> void for_each_pixel(const Image& image, Rect rect, F f) {
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, image.width); ++x)
            f(x, y);
}

} // namespace

bool parse_ppm(const std::string& bytes, Image* image) {
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6')
        return false;
    size_t at = 2;
    int width = 0, height = 0, max_value = 0;
    if (!read_header_number(bytes, &at, &width) || !read_header_number(bytes, &at, &height) ||
        !read_header_number(bytes, &at, &max_value))
        return false;
    ++at; // the single white-space byte before the samples
    const size_t samples = static_cast<size_t>(width) * height * 3;
    if (width <= 0 || height <= 0 || max_value != 255 || bytes.size() < at + samples)
        return false;
    *image = {width, height,
              std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + samples)};
    return true;
}

Rgb pixel_at(const Image& image, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

Extent extent_of_colour(const Image& image, Rect rect, Rgb colour) {
    Extent e;
    for_each_pixel(image, rect, [&](int x, int y) {
        if (!(pixel_at(image, x, y) == colour))
            return;
        if (e.count++ == 0) {
            e.left = e.right = x;
            e.top = y;
        }
        e.left = std::min(e.left, x);
        e.right = std::max(e.right, x);
        e.bottom = y;
    });
    return e;
}

int count_colour(const Image& image, Rect rect, Rgb colour) {
    return extent_of_colour(image, rect, colour).count;
}

std::vector<bool> colour_mask(const Image& image, Rect rect, Rgb colour) {
    std::vector<bool> mask;
    for_each_pixel(image, rect,
                   [&](int x, int y) { mask.push_back(pixel_at(image, x, y) == colour); });
    return mask;
}

int count_differences(const Image& a, const Image& b, Rect rect) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for_each_pixel(a, rect,
                   [&](int x, int y) { count += pixel_at(a, x, y) == pixel_at(b, x, y) ? 0 : 1; });
    return count;
}

bool overlap(Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int width_of(const Extent& e) {
    return e.count == 0 ? 0 : e.right - e.left + 1;
}

bool save_png(const Image& image, const std::string& path) {
    const std::string ppm_path = path + ".ppm";
    {
        std::ofstream out(ppm_path, std::ios::binary);
        out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
        out.write(reinterpret_cast<const char*>(image.rgb.data()),
                  static_cast<std::streamsize>(image.rgb.size()));
        if (!out)
            return false;
    }
    const CommandResult result = run_command({"convert", ppm_path, path}, {}, Milliseconds(20000));
    std::remove(ppm_path.c_str());
    return exited_with_zero(result.end);
}

std::string to_string(Rgb colour) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", colour.r, colour.g, colour.b);
    return text;
}
