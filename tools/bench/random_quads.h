// The same random convex quads for every filler: 16 sets of 1000, 10 to 60 pixels across.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/polygon_fill.h"

using Quad = std::array<IntPoint, 4>;

constexpr int32_t quad_sets = 16;
constexpr int32_t quads_per_set = 1000;
constexpr int32_t quad_buffer_size = 400;

// quad_sets x quads_per_set quads, from a fixed seed.
const std::vector<Quad>& random_quads();
