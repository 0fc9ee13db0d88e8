// The game's sines and cosines are correctly rounded, on every system the same: checked against
// the quad-precision ones of GCC's libquadmath, at every angle the game turns by and across the
// range a forged replay could bring.
#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/sines.h"
#include "geometry/transform.h"

namespace {

std::vector<double> angles_to_check() {
    std::vector<double> angles;
    for (int degrees = -720; degrees <= 720; ++degrees) // what spins, and any whole angle
        angles.push_back(radians(static_cast<float>(degrees)));
    for (int pixels = -2000; pixels <= 2000; ++pixels) // the gun, 0.4 degrees a pixel
        angles.push_back(radians(static_cast<float>(pixels * 0.4)));
    std::mt19937_64 random(11);
    for (int i = 0; i < 40000; ++i)
        angles.push_back(std::uniform_real_distribution<double>(-1e5, 1e5)(random));
    return angles;
}

TEST(Sines, AreCorrectlyRounded) {
    for (double x : angles_to_check()) {
        EXPECT_EQ(sine(x), static_cast<double>(sinq(x))) << "sine of " << std::hexfloat << x;
        EXPECT_EQ(cosine(x), static_cast<double>(cosq(x))) << "cosine of " << std::hexfloat << x;
    }
}

TEST(Sines, KeepZerosSignAndRefuseTheEndless) {
    EXPECT_TRUE(std::signbit(sine(-0.0)));
    EXPECT_EQ(cosine(-0.0), 1.0);
    EXPECT_EQ(cosine(1e-10), 1.0);
    EXPECT_EQ(sine(1e-10), 1e-10);
    EXPECT_TRUE(std::isnan(sine(INFINITY)));
    EXPECT_TRUE(std::isnan(cosine(NAN)));
    EXPECT_LE(std::fabs(sine(1e300)), 1.0);
}

} // namespace
