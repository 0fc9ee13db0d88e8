// Random convex quads: four corners on an ellipse around a random centre, in angle order.
#include "bench/random_quads.h"

#include <algorithm>
#include <cmath>
#include <random>

const std::vector<Quad>& random_quads() {
    static const std::vector<Quad> quads = [] {
        std::mt19937 random(1234567);
        std::uniform_real_distribution<double> size(10.0, 60.0), unit(0.0, 1.0);
        std::vector<Quad> all;
        all.reserve(quad_sets * quads_per_set);
        for (int32_t i = 0; i < quad_sets * quads_per_set; ++i) {
            const double across = size(random);
            const double cx = across / 2 + unit(random) * (quad_buffer_size - across);
            const double cy = across / 2 + unit(random) * (quad_buffer_size - across);
            std::array<double, 4> angles{};
            for (double& a : angles)
                a = unit(random) * 2 * M_PI;
            std::sort(angles.begin(), angles.end());
            Quad quad{};
            for (int k = 0; k < 4; ++k)
                quad[k] = {static_cast<int32_t>(cx + across / 2 * std::cos(angles[k])),
                           static_cast<int32_t>(cy + across / 2 * std::sin(angles[k]))};
            all.push_back(quad);
        }
        return all;
    }();
    return quads;
}
