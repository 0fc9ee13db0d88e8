// Encoding sound effects as RIFF WAVE files: 16-bit PCM, mono.
#pragma once

#include <cstdint>
#include <vector>

// samples in [-1, 1]; anything beyond is clipped.
std::vector<uint8_t> encode_wav(const std::vector<float>& samples, int32_t rate);
