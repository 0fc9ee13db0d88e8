// PPM parsing, pixel queries and saving pictures for a look after a failure.
#include "tests/e2e/image.h"

#include <cctype>
#include <cstdio>
#include <fstream>

#include "tests/e2e/child_process.h"

namespace {

// Skips white space and comments, then reads one header number.
bool read_header_number(const std::string& bytes, size_t* at, int* value) {
    while (*at < bytes.size()) {
        const char c = bytes[*at];
        if (c == '#') {
            while (*at < bytes.size() && bytes[*at] != '\n')
                ++*at;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++*at;
        } else {
            break;
        }
    }
    long number = 0;
    const size_t start = *at;
    while (*at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[*at])) &&
           number < 1000000)
        number = number * 10 + (bytes[(*at)++] - '0');
    *value = static_cast<int>(number);
    return *at > start;
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
    if (width <= 0 || height <= 0 || max_value <= 0 || max_value > 65535)
        return false;
    const size_t sample_bytes = max_value > 255 ? 2 : 1;
    const size_t samples = static_cast<size_t>(width) * height * 3;
    if (bytes.size() < at + samples * sample_bytes)
        return false;
    image->width = width;
    image->height = height;
    image->rgb.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        unsigned value = static_cast<unsigned char>(bytes[at + i * sample_bytes]);
        if (sample_bytes == 2)
            value = (value << 8) | static_cast<unsigned char>(bytes[at + i * 2 + 1]);
        image->rgb[i] = static_cast<uint8_t>(value * 255 / static_cast<unsigned>(max_value));
    }
    return true;
}

Rgb pixel_at(const Image& image, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

Image crop(const Image& image, Rect rect) {
    Image out;
    out.width = rect.right - rect.left;
    out.height = rect.bottom - rect.top;
    if (out.width <= 0 || out.height <= 0 || rect.left < 0 || rect.top < 0 ||
        rect.right > image.width || rect.bottom > image.height)
        return Image{};
    out.rgb.reserve(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = rect.top; y < rect.bottom; ++y) {
        const auto row =
            image.rgb.begin() + (static_cast<ptrdiff_t>(y) * image.width + rect.left) * 3;
        out.rgb.insert(out.rgb.end(), row, row + static_cast<ptrdiff_t>(out.width) * 3);
    }
    return out;
}

int count_colour(const Image& image, Rect rect, Rgb colour) {
    return extent_of_colour(image, rect, colour).count;
}

Extent extent_of_colour(const Image& image, Rect rect, Rgb colour) {
    return extent_where(image, rect, [colour](Rgb p) { return p == colour; });
}

int count_differences(const Image& a, const Image& b, Rect rect) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (x >= 0 && y >= 0 && x < a.width && y < a.height &&
                !(pixel_at(a, x, y) == pixel_at(b, x, y)))
                ++count;
    return count;
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
    return result.end.ended && result.end.exited && result.end.exit_status == 0;
}

std::string to_string(Rgb colour) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", colour.r, colour.g, colour.b);
    return text;
}
