// Encoding pictures as 24-bit uncompressed BMP files, the format the game loads.
#include "bmp_writer.h"

#include "byte_output.h"

std::vector<uint8_t> encode_bmp(int32_t width, int32_t height, const std::vector<uint8_t>& rgb) {
    const uint32_t row_size = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    const uint32_t image_size = row_size * static_cast<uint32_t>(height);
    const uint32_t data_offset = 14 + 40;

    std::vector<uint8_t> out;
    out.reserve(data_offset + image_size);
    put_u8(out, 'B');
    put_u8(out, 'M');
    put_u32(out, data_offset + image_size);
    put_u32(out, 0);
    put_u32(out, data_offset);

    put_u32(out, 40); // BITMAPINFOHEADER
    put_u32(out, static_cast<uint32_t>(width));
    put_u32(out, static_cast<uint32_t>(height)); // positive: rows stored bottom-up
    put_u16(out, 1);
    put_u16(out, 24);
    put_u32(out, 0); // no compression
    put_u32(out, image_size);
    put_u32(out, 2835); // 72 dpi
    put_u32(out, 2835);
    put_u32(out, 0);
    put_u32(out, 0);

    for (int32_t y = height - 1; y >= 0; --y) {
        const size_t row_start = static_cast<size_t>(y) * width * 3;
        for (int32_t x = 0; x < width; ++x) {
            const size_t i = row_start + static_cast<size_t>(x) * 3;
            put_u8(out, rgb[i + 2]);
            put_u8(out, rgb[i + 1]);
            put_u8(out, rgb[i]);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < row_size; ++pad) {
            put_u8(out, 0);
        }
    }
    return out;
}
