// An icon directory (six bytes), an entry of sixteen bytes for each picture, then the pictures.
#include "ico_writer.h"

namespace {

void put16(std::vector<uint8_t>* out, uint32_t value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>* out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

std::vector<uint8_t> encode_ico(const std::vector<IconImage>& images) {
    std::vector<uint8_t> out;
    put16(&out, 0); // reserved
    put16(&out, 1); // an icon, not a cursor
    put16(&out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        out.push_back(static_cast<uint8_t>(image.size % 256)); // 256 is written 0
        out.push_back(static_cast<uint8_t>(image.size % 256));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(&out, 1);  // planes
        put16(&out, 32); // bits a pixel
        put32(&out, static_cast<uint32_t>(image.png.size()));
        put32(&out, offset);
        offset += static_cast<uint32_t>(image.png.size());
    }
    for (const IconImage& image : images)
        out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}
