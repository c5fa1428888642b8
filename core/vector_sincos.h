// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sine and cosine of every lane of a vector, within one unit in the last place, for
// instruction sets that have no vector math library: a Cody-Waite reduction by π/2 kept in
// double-double, then minimax polynomials on [−π/4, π/4].
#pragma once

#include <cmath>

namespace velmora::detail {

// The numbers the sine and cosine work with. They are defined in phasor_kernel.cpp, out of
// sight of the code below, which therefore loads them from memory: a WebAssembly engine
// rebuilds a constant vector with three instructions at every use, where a load takes one.
struct SincosConstants {
    // 2/π; π/2 in pieces of 33 bits, so that n · piece is exact for every quadrant count
    // below 2^20, and the rest of it.
    double twoOverPi, halfPi1, halfPi2, halfPi3, halfPi3Tail;
    // Larger angles (far beyond any phase of a run) go to the scalar functions, as do NaNs.
    double reducedRange;
    double half, one;
    // sin r = r + r³ · S(r²), cos r = 1 − r²/2 + r⁴ · C(r²): minimax for the relative error
    // of the whole function on [0, π/4], fitted in 200-bit arithmetic (Remez) and rounded to
    // double; 2^−58 and 2^−64 before rounding.
    double sine[6], cosine[6];
};
extern const SincosConstants sincosConstants;

namespace {
// c0 + c1 z + … + c5 z^5 in Estrin's order: a shorter chain of dependent steps than Horner's.
template <class V>
inline typename V::type polynomial(typename V::type z, typename V::type z2, const double (&c)[6]) {
    const auto low = V::add(V::broadcastFrom(&c[0]), V::mul(z, V::broadcastFrom(&c[1])));
    const auto middle = V::add(V::broadcastFrom(&c[2]), V::mul(z, V::broadcastFrom(&c[3])));
    const auto high = V::add(V::broadcastFrom(&c[4]), V::mul(z, V::broadcastFrom(&c[5])));
    return V::add(low, V::mul(z2, V::add(middle, V::mul(z2, high))));
}

// V supplies the vector type and broadcastFrom (one double from memory), load, store, add,
// sub, mul, nearest (ties to even), allWithin(v, bound) (every |lane| ≤ bound's, false for
// NaN), and
// placeQuadrant(n, s, c, sines, cosines), which turns the reduced argument's sine and
// cosine into those of the angle n quadrants further on and stores them.
template <class V> inline void sincosWith(typename V::type x, double* sines, double* cosines) {
    const SincosConstants& k = sincosConstants;
    if (!V::allWithin(x, V::broadcastFrom(&k.reducedRange))) {
        alignas(64) double lanes[V::width];
        V::store(lanes, x);
        for (int i = 0; i < V::width; ++i) {
            sines[i] = std::sin(lanes[i]);
            cosines[i] = std::cos(lanes[i]);
        }
        return;
    }
    const auto n = V::nearest(V::mul(x, V::broadcastFrom(&k.twoOverPi)));
    // r = x − n · π/2 = hi + lo, so that a phase near a multiple of π/2 keeps its digits.
    // first is exact: its operands lie within a factor of two of each other. The next two
    // pieces are summed exactly, as middle + middleError, and taken from first with the
    // difference's rounding error kept in lo.
    const auto first = V::sub(x, V::mul(n, V::broadcastFrom(&k.halfPi1)));
    const auto piece2 = V::mul(n, V::broadcastFrom(&k.halfPi2));
    const auto piece3 = V::mul(n, V::broadcastFrom(&k.halfPi3));
    const auto middle = V::add(piece2, piece3);
    const auto middleError = V::sub(piece3, V::sub(middle, piece2));
    const auto hi = V::sub(first, middle);
    const auto middleRounded = V::sub(first, hi);
    const auto differenceError =
        V::sub(V::sub(first, V::add(hi, middleRounded)), V::sub(middle, middleRounded));
    const auto lo =
        V::sub(differenceError, V::add(middleError, V::mul(n, V::broadcastFrom(&k.halfPi3Tail))));

    const auto z = V::mul(hi, hi);
    const auto z2 = V::mul(z, z);
    // cos(hi + lo) ≈ cos hi − lo · sin hi; 1 − z/2 is rounded once and its error put back.
    const auto halfZ = V::mul(V::broadcastFrom(&k.half), z);
    const auto w = V::sub(V::broadcastFrom(&k.one), halfZ);
    const auto wError = V::sub(V::sub(V::broadcastFrom(&k.one), w), halfZ);
    const auto cosTail = V::sub(V::mul(z2, polynomial<V>(z, z2, k.cosine)), V::mul(hi, lo));
    const auto c = V::add(w, V::add(wError, cosTail));
    // sin(hi + lo) ≈ sin hi + lo · cos hi, with hi itself added last.
    const auto sinTail = V::add(V::mul(V::mul(z, hi), polynomial<V>(z, z2, k.sine)), V::mul(lo, w));
    const auto s = V::add(hi, sinTail);
    V::placeQuadrant(n, s, c, sines, cosines);
}

// One lane of plain doubles, with the very operations, and so the very results, of every
// vector lane: for scalar code whose digits must be the same natively and in the page.
struct OneLane {
    using type = double;
    static constexpr int width = 1;
    static double broadcastFrom(const double* p) { return *p; }
    static double load(const double* p) { return *p; }
    static void store(double* p, double v) { *p = v; }
    static double add(double a, double b) { return a + b; }
    static double sub(double a, double b) { return a - b; }
    static double mul(double a, double b) { return a * b; }
    static double nearest(double v) { return std::nearbyint(v); }
    static bool allWithin(double v, double bound) { return std::fabs(v) <= bound; }
    static void placeQuadrant(double n, double s, double c, double* sines, double* cosines) {
        const double turned[] = {s, c, -s, -c};
        const auto quadrant = static_cast<long long>(n) & 3;
        *sines = turned[quadrant];
        *cosines = turned[(quadrant + 1) & 3];
    }
};
} // namespace

} // namespace velmora::detail
