// Sample and module headers read as far as needed to know what loading them would cost.
#include "audio/sound_file_checks.h"

#include <cstdio>
#include <cstring>

#include "store/le_bytes.h"

namespace {

// The words of the last problem that carries a figure.
char problem_text[96];

template <typename... Figures> const char* problem(const char* format, Figures... figures) {
    std::snprintf(problem_text, sizeof problem_text, format, figures...);
    return problem_text;
}

uint32_t le16(const std::vector<uint8_t>& bytes, size_t at) {
    return get_le16(bytes.data() + at);
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return get_le32(bytes.data() + at);
}

bool starts_with(const std::vector<uint8_t>& bytes, size_t at, const char* text) {
    const size_t length = std::strlen(text);
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}

constexpr uint32_t pcm = 1, extensible = 0xFFFE;

struct WaveFormat {
    uint32_t tag, channels, rate, block, bits;
};

// The format chunk's fields; an extensible format counts as its sub-format.
WaveFormat format_at(const std::vector<uint8_t>& bytes, size_t body, uint32_t length) {
    WaveFormat format{le16(bytes, body), le16(bytes, body + 2), le32(bytes, body + 4),
                      le16(bytes, body + 12), le16(bytes, body + 14)};
    if (format.tag == extensible && length >= 40)
        format.tag = le16(bytes, body + 24);
    return format;
}

const char* data_problem(const WaveFormat& format, uint32_t data_bytes, int32_t output_rate,
                         int32_t output_frame_bytes) {
    if (format.tag != pcm)
        return problem("not PCM but format %u", format.tag);
    if (format.channels != 1 && format.channels != 2)
        return problem("%u channels, not 1 or 2", format.channels);
    if (format.bits != 8 && format.bits != 16)
        return problem("%u bits a sample, not 8 or 16", format.bits);
    if (format.rate < 8000 || format.rate > 96000)
        return problem("a sample rate of %u Hz, not 8000 to 96000", format.rate);
    if (format.block != format.channels * format.bits / 8)
        return "its block size disagrees with its format";
    const int64_t frames = data_bytes / format.block;
    const int64_t converted =
        (frames * output_rate + format.rate - 1) / format.rate * output_frame_bytes;
    if (converted >= largest_converted_sample)
        return problem("%lld bytes once converted, 4 MB at most",
                       static_cast<long long>(converted));
    return nullptr;
}

} // namespace

const char* sample_problem(const std::vector<uint8_t>& bytes, int32_t output_rate,
                           int32_t output_frame_bytes) {
    if (!starts_with(bytes, 0, "RIFF") || !starts_with(bytes, 8, "WAVE"))
        return "not a RIFF WAVE file";
    WaveFormat format{};
    bool format_read = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const size_t body = at + 8;
        const uint32_t length = le32(bytes, at + 4);
        if (length > bytes.size() - body)
            return "a chunk runs past the end of the file";
        if (starts_with(bytes, at, "fmt ")) {
            if (length < 16)
                return "its format chunk is cut short";
            format = format_at(bytes, body, length);
            format_read = true;
        } else if (starts_with(bytes, at, "data")) {
            if (!format_read)
                return "its data comes before its format";
            return data_problem(format, length, output_rate, output_frame_bytes);
        }
        at = body + length + (length & 1);
    }
    return "it holds no sample data";
}

const char* module_problem(const std::vector<uint8_t>& bytes) {
    constexpr const char* past_end = "its header claims more than the file holds";
    if (!starts_with(bytes, 0, "Extended Module: ") || bytes.size() < 80)
        return "not an extended module (XM)";
    const size_t size = bytes.size();
    if (static_cast<int64_t>(size) > largest_module)
        return "larger than 8 MB";
    const uint32_t header_size = le32(bytes, 60);
    if (header_size < 20 || header_size > size - 60)
        return past_end;
    const uint32_t song_length = le16(bytes, 64), channels = le16(bytes, 68);
    const uint32_t patterns = le16(bytes, 70), instruments = le16(bytes, 72);
    if (song_length == 0 || song_length > 256 || channels == 0 || channels > 32 || patterns > 256 ||
        instruments > 128)
        return problem("%u orders, %u channels, %u patterns, %u instruments: beyond an XM",
                       song_length, channels, patterns, instruments);
    size_t at = 60 + header_size;
    for (uint32_t p = 0; p < patterns; ++p) {
        if (at + 9 > size || le32(bytes, at) < 9 || le32(bytes, at) > size - at)
            return past_end;
        const uint32_t rows = le16(bytes, at + 5), packed = le16(bytes, at + 7);
        if (rows == 0 || rows > 256)
            return problem("a pattern of %u rows, not 1 to 256", rows);
        at += le32(bytes, at);
        if (packed > size - at)
            return past_end;
        at += packed;
    }
    for (uint32_t i = 0; i < instruments; ++i) {
        if (at + 29 > size || le32(bytes, at) < 29 || le32(bytes, at) > size - at)
            return past_end;
        const uint32_t samples = le16(bytes, at + 27);
        if (samples > 16)
            return problem("an instrument of %u samples, 16 at most", samples);
        if (samples == 0) {
            at += le32(bytes, at);
            continue;
        }
        if (le32(bytes, at) < 33)
            return past_end;
        const uint32_t sample_header = le32(bytes, at + 29);
        if (sample_header < 40)
            return "its sample headers are cut short";
        at += le32(bytes, at);
        uint64_t sample_bytes = 0;
        for (uint32_t s = 0; s < samples; ++s) {
            if (sample_header > size - at)
                return past_end;
            sample_bytes += le32(bytes, at);
            at += sample_header;
        }
        if (sample_bytes > size - at)
            return past_end;
        at += sample_bytes;
    }
    return nullptr;
}
