// Sines and cosines in double-double arithmetic (a value as the unevaluated sum of two doubles,
// some 106 bits): the angle brought within a quarter turn of zero against pi/2 held in four
// parts, the Taylor series summed to 2^-110, and the sum rounded once. Every step is an exact
// or a correctly rounded double operation, so the result is the same bits wherever it runs.
#include "geometry/sines.h"

#include <cmath>

namespace {

struct Pair {
    double hi, lo;
};

// a + b exactly.
Pair two_sum(double a, double b) {
    const double s = a + b;
    const double b_part = s - a;
    return {s, (a - (s - b_part)) + (b - b_part)};
}

// a + b exactly, where |a| >= |b|.
Pair quick_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a as two halves of 26 bits, whose products are exact.
Pair split(double a) {
    const double t = 134217729.0 * a; // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}

// a * b exactly.
Pair two_product(double a, double b) {
    const double p = a * b;
    const Pair x = split(a), y = split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

Pair add(Pair a, Pair b) {
    const Pair s = two_sum(a.hi, b.hi);
    const Pair t = two_sum(a.lo, b.lo);
    Pair sum = quick_two_sum(s.hi, s.lo + t.hi);
    return quick_two_sum(sum.hi, sum.lo + t.lo);
}

Pair multiply(Pair a, Pair b) {
    const Pair p = two_product(a.hi, b.hi);
    return quick_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

Pair negated(Pair a) {
    return {-a.hi, -a.lo};
}

// pi/2 in four parts, the first three of 33 bits, so that a multiple by a whole number below
// 2^20 of each is exact.
constexpr double half_pi[4] = {0x1.921fb544p+0, 0x1.0b4611a6p-34, 0x1.3198a2ep-69,
                               0x1.b839a252049c1p-104};
constexpr double two_over_pi = 0x1.45f306dc9c883p-1;
constexpr double most_quarter_turns = 0x1p20;
constexpr double two_pi = 0x1.921fb54442d18p+2;

// 1/n! as pairs, n from 0 to 29.
constexpr Pair inverse_factorials[30] = {
    {0x1p+0, 0},
    {0x1p+0, 0},
    {0x1p-1, 0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {0x1.93974a8c07c9dp-37, 0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-41, 0x1.1d8656b0ee8cbp-97},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {0x1.6827863b97d97p-53, 0x1.eec01221a8b0bp-107},
    {0x1.2f49b46814157p-57, 0x1.2650f61dbdcb4p-112},
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
    {0x1.0ce396db7f853p-70, -0x1.aebcdbd20331cp-124},
    {0x1.761b41316381ap-75, -0x1.3423c7d91404fp-130},
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},
    {0x1.88e85fc6a4e5ap-89, -0x1.71c37ebd16540p-143},
    {0x1.d1ab1c2dccea3p-94, 0x1.054d0c78aea14p-149},
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},
    {0x1.259f98b4358adp-103, 0x1.eaf8c39dd9bc5p-157},
};

// The series sum over n = first, first + 2, ... up to 29 of (-1)^k r^n / n!, for r within a
// quarter turn: sin from 1, cos from 0.
Pair series(Pair r, int first) {
    const Pair square = multiply(r, r);
    const int last = first == 1 ? 29 : 28;
    Pair sum = inverse_factorials[last];
    for (int n = last - 2; n >= first; n -= 2)
        sum = add(inverse_factorials[n], negated(multiply(sum, square)));
    return first == 1 ? multiply(sum, r) : sum;
}

// The angle less the nearest whole number of quarter turns, and that number modulo 4.
Pair reduced(double x, int* quarter) {
    // Angles no game reaches (a forged replay's) are first brought within half a turn of zero;
    // the remainder is exact.
    if (std::fabs(x) >= most_quarter_turns)
        x = std::remainder(x, two_pi);
    const double k = std::floor(x * two_over_pi + 0.5);
    *quarter = static_cast<int>(k - 4.0 * std::floor(k * 0.25));
    // x - k p0 is exact (the two lie within a factor of two of each other, or k is 0).
    Pair r = two_sum(x - k * half_pi[0], -k * half_pi[1]);
    r = add(r, negated(two_product(k, half_pi[2])));
    return add(r, negated(two_product(k, half_pi[3])));
}

double rounded(Pair value) {
    return value.hi + value.lo;
}

// The sine (want_cosine false) or cosine of x.
double turn(double x, bool want_cosine) {
    if (!std::isfinite(x))
        return x - x;
    // Below 2^-27 the sine rounds to x and the cosine to 1 (and a zero keeps its sign).
    if (std::fabs(x) < 0x1p-27)
        return want_cosine ? 1.0 : x;
    int quarter = 0;
    const Pair r = reduced(x, &quarter);
    // sin(x) for quarters 0 to 3: sin r, cos r, -sin r, -cos r; cos(x): cos r, -sin r, ...
    const int phase = (quarter + (want_cosine ? 1 : 0)) % 4;
    const Pair value = series(r, phase % 2 == 0 ? 1 : 0);
    return rounded(phase >= 2 ? negated(value) : value);
}

} // namespace

double sine(double radians) {
    return turn(radians, false);
}

double cosine(double radians) {
    return turn(radians, true);
}
