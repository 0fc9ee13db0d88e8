// What may be handed to the sound library. A player's own gun.wav or supera29.xm is untrusted:
// SDL_mixer converts a sample to the output's format in one buffer sized from the header (a WAV
// at 1 Hz overflows it), and the module player sets aside what the module's header claims.
// Each check gives null for a file that is safe to load, else a few words on why it is not.
#pragma once

#include <cstdint>
#include <vector>

// A sample converted to the output's format may take this much memory at most (some twelve
// seconds of sound), and a module's file this much: all the game's files at their largest fit
// in 150 MB at once.
constexpr int64_t largest_converted_sample = 4 << 20;
constexpr int64_t largest_module = 8 << 20;

// A PCM WAV of 1 or 2 channels, 8 or 16 bits, 8,000 to 96,000 Hz, whose data lies within the
// file and which, converted to output_rate frames of output_frame_bytes, stays under
// largest_converted_sample.
const char* sample_problem(const std::vector<uint8_t>& bytes, int32_t output_rate,
                           int32_t output_frame_bytes);

// An extended module (XM) whose patterns, instruments and samples each lie within the file,
// with no more of them than the format has room for.
const char* module_problem(const std::vector<uint8_t>& bytes);
