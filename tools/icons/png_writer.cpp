// A PNG file is its signature and three chunks: the header, the rows (each after a filter byte
// of 0, none) compressed as one zlib stream, and the end; each chunk carries a CRC-32.
#include "png_writer.h"

#include <zlib.h>

namespace {

void put_be32(std::vector<uint8_t>* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<uint8_t>(value >> shift));
}

void put_chunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data) {
    put_be32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    put_be32(out, static_cast<uint32_t>(
                      crc32(0, out->data() + start, static_cast<uInt>(out->size() - start))));
}

} // namespace

std::vector<uint8_t> encode_png(const Canvas* picture) {
    std::vector<uint8_t> rows;
    for (int32_t y = 0; y < picture->height; ++y) {
        rows.push_back(0);
        for (int32_t x = 0; x < picture->width; ++x) {
            const Colour colour = colour_of_pixel(picture->pixels[y * picture->pitch + x]);
            rows.insert(rows.end(), {static_cast<uint8_t>(red_of(colour)),
                                     static_cast<uint8_t>(green_of(colour)),
                                     static_cast<uint8_t>(blue_of(colour))});
        }
    }
    uLongf packed_size = compressBound(rows.size());
    std::vector<uint8_t> packed(packed_size);
    compress2(packed.data(), &packed_size, rows.data(), rows.size(), Z_BEST_COMPRESSION);
    packed.resize(packed_size);

    std::vector<uint8_t> header;
    put_be32(&header, static_cast<uint32_t>(picture->width));
    put_be32(&header, static_cast<uint32_t>(picture->height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    put_chunk(&png, "IHDR", header);
    put_chunk(&png, "IDAT", packed);
    put_chunk(&png, "IEND", {});
    return png;
}
