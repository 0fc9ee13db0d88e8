// Distance shading. For faces near the light the distance is the entry of the table of square
// roots, worked out directly (quicker than reading it back); farther ones take a whole root.
#include "render/shading.h"

#include <cmath>

float sqrt_table[sqrt_table_size];

void build_sqrt_table() {
    for (int32_t i = 0; i < sqrt_table_size; ++i)
        sqrt_table[i] = std::sqrt(static_cast<float>(i));
}

namespace {

int32_t clamp_component(int32_t value) {
    if (value < 0)
        return 0;
    if (value > 255)
        return 255;
    return value;
}

} // namespace

Colour shade(const Object3D& obj, const Vec3& centre, const Light& light) {
    const float dx = centre.x - light.x;
    const float dy = centre.y - light.y;
    const float dz = centre.z - light.z;
    const double d2 =
        static_cast<double>(dx) * dx + static_cast<double>(dy) * dy + static_cast<double>(dz) * dz;
    // The far ends of the floor bars lie beyond 32 bits.
    const int64_t n = static_cast<int64_t>(d2);
    double distance;
    if (n < sqrt_table_size)
        distance = std::sqrt(static_cast<float>(n)); // sqrt_table[n], without its cache misses
    else
        distance = static_cast<double>(static_cast<int64_t>(std::sqrt(static_cast<double>(n))));
    // In double: in float, 500 x 0.45f would round up to 225 and lose a level too many.
    const int32_t loss = static_cast<int32_t>(distance * light.k);
    return rgb(clamp_component(obj.red - loss), clamp_component(obj.green - loss),
               clamp_component(obj.blue - loss));
}
