// zarnok_worst_data FOLDER: a player's own data files at the largest the game's checks let
// through, for the benchmark of the game's memory and first frame with all eight at once: the
// four pictures as 32-bit BMPs of the largest sides, the three samples as 8 kHz 8-bit WAVs as
// long as their conversion allows (the most memory for their size), and the module as an XM of
// the largest file with one long sample.
#include <cstdio>
#include <string>
#include <vector>

#include "../assets/file_output.h"
#include "../assets/xm_writer.h"
#include "audio/sound_file_checks.h"
#include "platform/bitmap.h"
#include "platform/data_file_names.h"

namespace {

void put(std::vector<uint8_t>* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 32-bit picture of side x side, a checkerboard of eight-pixel squares: the most bytes, read
// and converted, that a picture may have.
std::vector<uint8_t> full_bmp(int32_t side) {
    const uint32_t pixels = 4 * static_cast<uint32_t>(side) * static_cast<uint32_t>(side);
    std::vector<uint8_t> out = {'B', 'M'};
    put(&out, 54 + pixels, 4);
    put(&out, 0, 4);
    put(&out, 54, 4); // the pixels' offset
    put(&out, 40, 4); // the info header
    put(&out, static_cast<uint32_t>(side), 4);
    put(&out, static_cast<uint32_t>(side), 4);
    put(&out, 1, 2);
    put(&out, 32, 2); // bits a pixel
    put(&out, 0, 4);
    put(&out, pixels, 4);
    put(&out, 2835, 4);
    put(&out, 2835, 4);
    put(&out, 0, 4);
    put(&out, 0, 4);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x)
            put(&out, ((x / 8 + y / 8) & 1) != 0 ? 0x00C0A060 : 0x00301020, 4);
    return out;
}

// An 8 kHz 8-bit mono WAV of `frames` frames, a slow saw.
std::vector<uint8_t> long_wav(uint32_t frames) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    put(&out, 36 + frames, 4);
    for (const char c : std::string("WAVEfmt "))
        out.push_back(static_cast<uint8_t>(c));
    put(&out, 16, 4);
    put(&out, 1, 2); // PCM
    put(&out, 1, 2); // mono
    put(&out, 8000, 4);
    put(&out, 8000, 4);
    put(&out, 1, 2);
    put(&out, 8, 2);
    for (const char c : std::string("data"))
        out.push_back(static_cast<uint8_t>(c));
    put(&out, frames, 4);
    for (uint32_t i = 0; i < frames; ++i)
        out.push_back(static_cast<uint8_t>(i / 16));
    return out;
}

// A module of one pattern playing one long 16-bit sample, within `most` bytes.
std::vector<uint8_t> large_xm(int64_t most) {
    XmModule module{"worst", 8, 6, 125, {0}, {make_pattern(64, 8)}, {}};
    cell_at(module.patterns[0], 0, 0) = {49, 1, 0, 0, 0};
    XmInstrument instrument{};
    instrument.name = "long";
    instrument.sample = {"long", {}, 0, 0, 64, 0, 128, 0};
    const std::vector<uint8_t> empty = encode_xm(module);
    const int64_t room = most - static_cast<int64_t>(empty.size()) - 4096;
    instrument.sample.data.resize(static_cast<size_t>(room / 2));
    for (size_t i = 0; i < instrument.sample.data.size(); ++i)
        instrument.sample.data[i] = static_cast<int16_t>((i * 97) & 0x3FFF);
    module.instruments.push_back(instrument);
    return encode_xm(module);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarnok_worst_data FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    // As the game opens its output: 44.1 kHz, two channels of 32-bit floats.
    const int64_t frames = (largest_converted_sample - 1) / 8 * 8000 / 44100 - 1;
    for (const DataFileName& file : data_file_names) {
        const std::vector<uint8_t> bytes =
            file.kind == DataKind::picture  ? full_bmp(largest_picture_side)
            : file.kind == DataKind::sample ? long_wav(static_cast<uint32_t>(frames))
                                            : large_xm(largest_module);
        if (!write_file(folder + "/" + file.name, bytes))
            return 1;
    }
    return 0;
}
