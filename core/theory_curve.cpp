// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "theory_curve.h"

#include "spiral_scan.h"
#include "vector_sincos.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

using Complex = std::complex<double>;

// On each panel the phase is the cubic that matches it and its slope at both ends (the slope
// of P r costs no square root), and exp(i φ) is integrated against it exactly after expanding
// the cubic's departure ψ from the chord to its fourth power.

// A panel's ψ stays within about this many radians, so the fifth power's share is below 1e-5.
constexpr double mostBend = 0.25;
// And the cubic stays this close to the phase: its error is at most |φ''''| h⁴ / 384.
constexpr double mostSlip = 1e-4;
// No panel narrower than this share of the half opening, so that no geometry, however absurd,
// keeps the integral going for long; in the drawing's ranges panels are far wider.
constexpr double leastWidthPerHalf = 1.0 / (1 << 20);

// ψ to the fourth power is a polynomial of degree 12 in t.
constexpr int degree = 12;

// The core's own sine and cosine, so that the curve has the same digits natively and in the page.
Complex unitPhasor(double phase) {
    double sine, cosine;
    detail::sincosWith<detail::OneLane>(phase, &sine, &cosine);
    return {cosine, sine};
}

// μ[j] = ∫₀¹ t^j e^{iΔt} dt, from e = e^{iΔ}, as real and imaginary parts: upward recursion
// where it is stable enough (it loses at most 12! ε), the Taylor series of e^{iΔt} elsewhere.
struct Moments {
    std::array<double, degree + 1> re{}, im{};
};

constexpr int lastTaylorTerm = 19; // |Δ|^m / m! < 1e-17 from here for |Δ| ≤ 1

constexpr auto reciprocals = [] {
    std::array<double, degree + lastTaylorTerm + 2> r{};
    for (std::size_t n = 1; n < r.size(); ++n)
        r[n] = 1.0 / double(n);
    return r;
}();

Moments moments(double delta, Complex e) {
    Moments mu;
    if (std::fabs(delta) > 1) {
        // μ[j] = (e − j μ[j − 1]) / (iΔ)
        const double over = 1 / delta;
        mu.re[0] = e.imag() * over;
        mu.im[0] = (1 - e.real()) * over;
        for (int j = 1; j <= degree; ++j) {
            mu.re[j] = (e.imag() - j * mu.im[j - 1]) * over;
            mu.im[j] = (j * mu.re[j - 1] - e.real()) * over;
        }
        return mu;
    }
    // Σ (iΔ)^m / (m! (j + m + 1)); term is Δ^m / m!, and i^m picks the part and the sign.
    double term = 1;
    for (int m = 0; m <= lastTaylorTerm && std::fabs(term) > 1e-17; ++m) {
        const double signedTerm = (m & 2) ? -term : term;
        auto& part = (m & 1) ? mu.im : mu.re;
        for (int j = 0; j <= degree; ++j)
            part[j] += signedTerm * reciprocals[j + m + 1];
        term *= delta * reciprocals[m + 1];
    }
    return mu;
}

// Polynomial product, coefficients from the constant term up.
template <std::size_t m, std::size_t n>
std::array<double, m + n - 1> times(const std::array<double, m>& a,
                                    const std::array<double, n>& b) {
    std::array<double, m + n - 1> c{};
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < n; ++j)
            c[i + j] += a[i] * b[j];
    return c;
}

// ∫₀¹ exp(i(Δt + ψ(t))) dt for the cubic ψ(t) = t(1 − t)(A + Bt), which vanishes at both ends:
// Σ (iψ)^k / k!, k ≤ 4, against the moments.
Complex panelFactor(double delta, double a, double b, Complex e) {
    const std::array<double, 4> psi{0, a, b - a, -b};
    const auto psi2 = times(psi, psi);
    const auto psi3 = times(psi2, psi);
    const auto psi4 = times(psi3, psi);
    const Moments mu = moments(delta, e);
    double re = mu.re[0], im = mu.im[0];
    for (int j = 1; j <= degree; ++j) {
        const double real = (j < 7 ? -psi2[j] / 2 : 0) + psi4[j] / 24;
        const double imaginary = (j < 4 ? psi[j] : 0) - (j < 10 ? psi3[j] / 6 : 0);
        re += real * mu.re[j] - imaginary * mu.im[j];
        im += real * mu.im[j] + imaginary * mu.re[j];
    }
    return {re, im};
}

// ∫ exp(i P r(s)) ds from `from` to `to`, r(s) = √(D² + (s − centre)²). `from` is the end
// nearer the stationary point s = centre, so every derivative bound below is largest at the
// start of its panel and sets the panel's width.
Complex halfIntegral(double phaseFactor, double distance, double centre, double from, double to,
                     double leastWidth) {
    const double d2 = distance * distance;
    auto pathLength = [&](double s) { return std::sqrt(d2 + (s - centre) * (s - centre)); };
    const double direction = to > from ? 1 : -1;
    // dr/ds; on the diaphragm, at the detector point itself, its value on the panel's side.
    auto pathRate = [&](double s, double r) { return r > 0 ? (s - centre) / r : direction; };
    double s0 = from;
    double r0 = pathLength(s0);
    Complex e0 = unitPhasor(phaseFactor * r0);
    Complex sum = 0;
    while (s0 != to) {
        // The curvature P D² / r³; |φ''''| ≤ 12 P D² / r⁵. None (or none defined, with the
        // detector on the diaphragm): no limit from them.
        const double curvature = phaseFactor * d2 / (r0 * r0 * r0);
        double width = HUGE_VAL;
        if (curvature > 0) {
            width = std::min(std::sqrt(8 * mostBend / curvature),
                             std::sqrt(std::sqrt(32 * mostSlip * r0 * r0 / curvature)));
        }
        width = std::max(width, leastWidth);
        double s1 = s0 + direction * width;
        if (direction * (s1 - to) >= 0)
            s1 = to;
        const double step = s1 - s0;
        const double r1 = pathLength(s1);
        const double delta = phaseFactor * (r1 - r0);
        // dφ/dt at either end, t running over the panel from 0 to 1
        const double slope0 = phaseFactor * pathRate(s0, r0) * step;
        const double slope1 = phaseFactor * pathRate(s1, r1) * step;
        const Complex e1 = unitPhasor(phaseFactor * r1);
        sum += std::fabs(step) * e0 *
               panelFactor(delta, slope0 - delta, 2 * delta - slope0 - slope1, e1 * std::conj(e0));
        s0 = s1;
        r0 = r1;
        e0 = e1;
    }
    return sum;
}

} // namespace

Complex diffractionIntegral(const RunParameters& p, double detectorY) {
    const double half = p.halfAperture;
    const double centre = detectorY - scene::axisY; // the stationary point, from the axis
    const double distance = p.distance();
    if (!std::isfinite(p.phaseFactor + half + centre + distance)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan};
    }
    if (!(half > 0))
        return 0;
    const double start = std::clamp(centre, -half, half);
    const double leastWidth = half * leastWidthPerHalf;
    return halfIntegral(p.phaseFactor, distance, centre, start, -half, leastWidth) +
           halfIntegral(p.phaseFactor, distance, centre, start, half, leastWidth);
}

std::vector<double> theoryIntensities(const RunParameters& p) {
    const double perTwip = p.sampleSpacing > 0 ? p.stepLength / p.sampleSpacing : 0;
    const double scale = p.intensityScale.value_or(1) * perTwip * perTwip;
    std::vector<double> intensities;
    intensities.reserve(scanPoints);
    for (int scanY = firstScanY; scanY <= lastScanY; scanY += scanStep)
        intensities.push_back(scale *
                              std::norm(diffractionIntegral(p, scene::sceneBottom - scanY)));
    return intensities;
}

} // namespace velmora
