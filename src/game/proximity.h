// The "near" test of hits and of the aim line: closer than 16 units on every axis.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"

// Each difference is truncated toward zero before it is compared.
inline bool within_reach(const Vec3& a, const Vec3& b) {
    const auto close = [](float from, float to) {
        const int32_t difference = static_cast<int32_t>(from - to);
        return difference > -16 && difference < 16;
    };
    return close(a.x, b.x) && close(a.y, b.y) && close(a.z, b.z);
}
