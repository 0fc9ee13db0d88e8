// Whole-number division as drawing and placing windows need it.
#pragma once

// floor(a / b) for b > 0: a point left of a window is left of its view too, an edge's step
// rounds down. A division in double is much cheaper than a 64-bit integer one, and one step of
// correction makes it exact for every value below 2^52.
template <typename Whole> constexpr Whole floor_div(Whole a, Whole b) {
    Whole q = static_cast<Whole>(static_cast<double>(a) / static_cast<double>(b));
    const Whole r = a - q * b;
    if (r < 0)
        --q;
    else if (r >= b)
        ++q;
    return q;
}
