// Encoding sound effects as RIFF WAVE files: 16-bit PCM, mono.
#include "wav_writer.h"

#include "byte_output.h"
#include "synth.h"

std::vector<uint8_t> encode_wav(const std::vector<float>& samples, int32_t rate) {
    const uint32_t data_size = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_size);
    put_text(out, "RIFF", 4);
    put_u32(out, 36 + data_size);
    put_text(out, "WAVE", 4);
    put_text(out, "fmt ", 4);
    put_u32(out, 16);
    put_u16(out, 1); // PCM
    put_u16(out, 1); // mono
    put_u32(out, static_cast<uint32_t>(rate));
    put_u32(out, static_cast<uint32_t>(rate) * 2);
    put_u16(out, 2); // bytes a frame
    put_u16(out, 16);
    put_text(out, "data", 4);
    put_u32(out, data_size);
    for (const float sample : samples) {
        put_u16(out, static_cast<uint16_t>(to_pcm16(sample)));
    }
    return out;
}
