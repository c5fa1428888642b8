// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sine and cosine of every lane of a vector, within one unit in the last place, for
// instruction sets that have no vector math library: a Cody-Waite reduction by π/2 kept in
// double-double, then minimax polynomials on [−π/4, π/4].
#pragma once

#include <cmath>

namespace velmora::detail {

namespace {
namespace sincos_constants {
// π/2 in pieces of 33 bits, so that n · piece is exact for every quadrant count below 2^20.
constexpr double halfPi1 = 0x1.921fb544p+0;
constexpr double halfPi2 = 0x1.0b4611a6p-34;
constexpr double halfPi3 = 0x1.3198a2ep-69;
constexpr double halfPi3Tail = 0x1.b839a252049c1p-104;
constexpr double twoOverPi = 0x1.45f306dc9c883p-1;
// Larger angles (far beyond any phase of a run) go to the scalar functions, as do NaNs.
constexpr double reducedRange = 0x1p20;

// sin r = r + r³ · S(r²), cos r = 1 − r²/2 + r⁴ · C(r²): minimax for the relative error of
// the whole function on [0, π/4], fitted in 200-bit arithmetic (Remez) and rounded to double;
// 2^−58 and 2^−64 before rounding.
constexpr double sinCoefficients[] = {-0x1.5555555555548p-3,  0x1.111111110f7d0p-7,
                                      -0x1.a01a019bfdf04p-13, 0x1.71de3567d4933p-19,
                                      -0x1.ae5e5a92987bfp-26, 0x1.5d8fd1fed6450p-33};
constexpr double cosCoefficients[] = {0x1.555555555554bp-5,  -0x1.6c16c16c14f91p-10,
                                      0x1.a01a019c844f4p-16, -0x1.27e4f7eac4b49p-22,
                                      0x1.1ee9d7b4df119p-29, -0x1.8fa49a06094c6p-37};
} // namespace sincos_constants

// c0 + c1 z + … + c5 z^5 in Estrin's order: a shorter chain of dependent steps than Horner's.
template <class V>
inline typename V::type polynomial(typename V::type z, typename V::type z2, const double (&c)[6]) {
    const auto low = V::add(V::broadcast(c[0]), V::mul(z, V::broadcast(c[1])));
    const auto middle = V::add(V::broadcast(c[2]), V::mul(z, V::broadcast(c[3])));
    const auto high = V::add(V::broadcast(c[4]), V::mul(z, V::broadcast(c[5])));
    return V::add(low, V::mul(z2, V::add(middle, V::mul(z2, high))));
}

// V supplies the vector type and broadcast, load, store, add, sub, mul, nearest (ties to
// even), allWithin(v, bound) (every |lane| ≤ bound, false for NaN), and
// placeQuadrant(n, s, c, sines, cosines), which turns the reduced argument's sine and
// cosine into those of the angle n quadrants further on and stores them.
template <class V> inline void sincosWith(typename V::type x, double* sines, double* cosines) {
    using namespace sincos_constants;
    if (!V::allWithin(x, reducedRange)) {
        alignas(64) double lanes[V::width];
        V::store(lanes, x);
        for (int i = 0; i < V::width; ++i) {
            sines[i] = std::sin(lanes[i]);
            cosines[i] = std::cos(lanes[i]);
        }
        return;
    }
    const auto n = V::nearest(V::mul(x, V::broadcast(twoOverPi)));
    // r = x − n · π/2 = hi + lo, so that a phase near a multiple of π/2 keeps its digits.
    // first is exact: its operands lie within a factor of two of each other. The next two
    // pieces are summed exactly, as middle + middleError, and taken from first with the
    // difference's rounding error kept in lo.
    const auto first = V::sub(x, V::mul(n, V::broadcast(halfPi1)));
    const auto piece2 = V::mul(n, V::broadcast(halfPi2));
    const auto piece3 = V::mul(n, V::broadcast(halfPi3));
    const auto middle = V::add(piece2, piece3);
    const auto middleError = V::sub(piece3, V::sub(middle, piece2));
    const auto hi = V::sub(first, middle);
    const auto middleRounded = V::sub(first, hi);
    const auto differenceError =
        V::sub(V::sub(first, V::add(hi, middleRounded)), V::sub(middle, middleRounded));
    const auto lo =
        V::sub(differenceError, V::add(middleError, V::mul(n, V::broadcast(halfPi3Tail))));

    const auto z = V::mul(hi, hi);
    const auto z2 = V::mul(z, z);
    // cos(hi + lo) ≈ cos hi − lo · sin hi; 1 − z/2 is rounded once and its error put back.
    const auto halfZ = V::mul(V::broadcast(0.5), z);
    const auto w = V::sub(V::broadcast(1.0), halfZ);
    const auto wError = V::sub(V::sub(V::broadcast(1.0), w), halfZ);
    const auto cosTail = V::sub(V::mul(z2, polynomial<V>(z, z2, cosCoefficients)), V::mul(hi, lo));
    const auto c = V::add(w, V::add(wError, cosTail));
    // sin(hi + lo) ≈ sin hi + lo · cos hi, with hi itself added last.
    const auto sinTail =
        V::add(V::mul(V::mul(z, hi), polynomial<V>(z, z2, sinCoefficients)), V::mul(lo, w));
    const auto s = V::add(hi, sinTail);
    V::placeQuadrant(n, s, c, sines, cosines);
}
} // namespace

} // namespace velmora::detail
