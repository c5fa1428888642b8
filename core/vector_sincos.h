// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sine and cosine of every lane of a vector, within one unit in the last place, for
// instruction sets that have no vector math library: a Cody-Waite reduction by π/2 kept in
// double-double, then minimax polynomials on [−π/4, π/4].
#pragma once

#include <cmath>
#include <cstddef>

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

template <class V, std::size_t N>
inline typename V::type horner(typename V::type z, const double (&coefficients)[N]) {
    auto sum = V::broadcast(coefficients[N - 1]);
    for (std::size_t k = N - 1; k-- > 0;)
        sum = V::add(V::broadcast(coefficients[k]), V::mul(z, sum));
    return sum;
}

// a − b as an unevaluated sum: the rounded difference and its exact rounding error.
template <class V>
inline void exactDifference(typename V::type a, typename V::type b, typename V::type& difference,
                            typename V::type& error) {
    difference = V::sub(a, b);
    const auto bRounded = V::sub(a, difference);
    error = V::sub(V::sub(a, V::add(difference, bRounded)), V::sub(b, bRounded));
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
    // r = x − n · π/2 = hi + lo. The first difference is exact (its operands lie within a
    // factor of two of each other); the next two keep their rounding errors in lo, so a
    // phase near a multiple of π/2 keeps its digits.
    const auto first = V::sub(x, V::mul(n, V::broadcast(halfPi1)));
    typename V::type second, error2, third, error3;
    exactDifference<V>(first, V::mul(n, V::broadcast(halfPi2)), second, error2);
    exactDifference<V>(second, V::mul(n, V::broadcast(halfPi3)), third, error3);
    auto lo = V::sub(V::add(error2, error3), V::mul(n, V::broadcast(halfPi3Tail)));
    const auto hi = V::add(third, lo);
    lo = V::sub(lo, V::sub(hi, third));

    const auto z = V::mul(hi, hi);
    const auto halfZ = V::mul(V::broadcast(0.5), z);
    // sin(hi + lo) ≈ sin hi + lo · cos hi, with r itself added last.
    const auto sinTail = V::add(V::mul(V::mul(z, hi), horner<V>(z, sinCoefficients)),
                                V::mul(lo, V::sub(V::broadcast(1.0), halfZ)));
    const auto s = V::add(hi, sinTail);
    // cos(hi + lo) ≈ cos hi − lo · sin hi; 1 − z/2 is rounded once and its error put back.
    const auto w = V::sub(V::broadcast(1.0), halfZ);
    const auto wError = V::sub(V::sub(V::broadcast(1.0), w), halfZ);
    const auto cosTail =
        V::sub(V::mul(V::mul(z, z), horner<V>(z, cosCoefficients)), V::mul(hi, lo));
    const auto c = V::add(w, V::add(wError, cosTail));
    V::placeQuadrant(n, s, c, sines, cosines);
}
} // namespace

} // namespace velmora::detail
