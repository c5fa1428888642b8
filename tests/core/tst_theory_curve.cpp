// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The theory curve against a plain quadrature of the same integral, the phasor chains against
// the theory where they sample the phase finely, and the integral's odd geometries.
#include "theory_curve.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

using namespace velmora;

namespace {

// ∫ exp(i P r) ds over the opening by composite ten-point Gauss–Legendre, on panels over which
// the phase turns less than a radian.
std::complex<double> quadrature(const RunParameters& p, double detectorY) {
    constexpr double node[] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                               0.8650633666889845, 0.9739065285171717};
    constexpr double weight[] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                 0.1494513491505806, 0.0666713443086881};
    const double a = p.halfAperture;
    const int panels = int(std::ceil(2 * a * p.phaseFactor)) + 16;
    const double h = 2 * a / panels;
    std::complex<double> sum = 0;
    for (int k = 0; k < panels; ++k) {
        for (int j = 0; j < 10; ++j) {
            const double s = -a + (k + 0.5 + (j < 5 ? -0.5 : 0.5) * node[j % 5]) * h;
            const double r = std::hypot(p.distance(), scene::axisY + s - detectorY);
            sum += weight[j % 5] * h / 2 * std::polar(1.0, p.phaseFactor * r);
        }
    }
    return sum;
}

struct Case {
    const char* name;
    ExploreValues values; // twips
};

const double shortest = nanometresToTwips(5), longest = nanometresToTwips(20000);
const double narrowest = nanometresToTwips(1000), widest = nanometresToTwips(17500);
const double nearest = nanometresToTwips(1200), farthest = nanometresToTwips(13200);

} // namespace

TEST_CASE("the theory follows an independent quadrature to 0.02 % of the peak") {
    for (const Case& c : {Case{"higher at 350", {2 * pi / 5, 2000, 2000}},
                          Case{"shortest, widest, nearest", {shortest, widest, nearest}},
                          Case{"30 nm, widest, nearest", {nanometresToTwips(30), widest, nearest}},
                          Case{"middle at 350", {2 * pi / 0.05, 2000, 2000}},
                          Case{"low, widest, nearest", {2 * pi / 0.01, widest, nearest}},
                          Case{"longest, widest, nearest", {longest, widest, nearest}},
                          Case{"longest, narrowest, farthest", {longest, narrowest, farthest}}}) {
        INFO(c.name);
        const RunParameters p = exploreParameters(c.values);
        const std::vector<double> theory = theoryIntensities(p);
        REQUIRE(theory.size() == 221);
        // A phasor's length per twip of the opening it stands for, whatever the sampling.
        const double scale = *p.intensityScale * std::pow(stepLengthPerTwip(p.wavelength()), 2);
        std::vector<double> expected;
        for (int i = 0; i < 221; i += 10)
            expected.push_back(scale * std::norm(quadrature(p, 7000 - 25 * i)));
        const double peak = *std::max_element(expected.begin(), expected.end());
        for (int i = 0; i < 221; i += 10) {
            INFO("y " << 7000 - 25 * i);
            CHECK(std::fabs(theory[i] - expected[i / 10]) < 2e-4 * peak);
        }
    }
}

// Where 2 % holds (λ ≥ 20 twips): at the presets, and with apertures up to 3 µm at any distance.
// Wider apertures near the diaphragm exceed it, through the chain's three phasors at the centre
// of the opening where a Riemann sum has one (README, "Explore").
TEST_CASE("finely sampled chains follow the theory within 2 % of the peak") {
    for (const Case& c :
         {Case{"high at 300", {2 * pi / 0.1, 2000, 1000}},
          Case{"middle at 350", {2 * pi / 0.05, 2000, 2000}},
          Case{"low at 350", {2 * pi / 0.01, 2000, 2000}},
          Case{"lower at 400", {2 * pi / 0.0015, 2000, 3000}},
          Case{"300 nm, 5 µm, 10 µm",
               {nanometresToTwips(300), nanometresToTwips(5000), nanometresToTwips(10000)}},
          Case{"1 µm, narrowest, 3 µm",
               {nanometresToTwips(1000), narrowest, nanometresToTwips(3000)}},
          Case{"20 twips, 3 µm, nearest", {20, nanometresToTwips(3000), nearest}}}) {
        INFO(c.name);
        const RunParameters p = exploreParameters(c.values);
        const std::vector<double> theory = theoryIntensities(p);
        const double peak = *std::max_element(theory.begin(), theory.end());
        for (int i = 0; i < 221; ++i) {
            const double y = 7000 - 25 * i;
            const Pen end = walkChain(p, y, [](Pen, Pen, bool) {});
            const double bar =
                *p.intensityScale * std::norm(std::complex(end.x - p.detectorX, end.y - y));
            INFO("y " << y);
            CHECK(std::fabs(bar - theory[i]) < 0.02 * peak);
        }
    }
}

TEST_CASE("the integral in odd geometries ends, and says what it can") {
    RunParameters p = presetParameters(frequencyPresets[2], distancePresets[1]);
    p.phaseFactor = 0; // every point of the opening in step
    CHECK(diffractionIntegral(p, 4000) == std::complex<double>(2000, 0));
    p.phaseFactor = std::nan("");
    CHECK(std::isnan(std::abs(diffractionIntegral(p, 4000))));
    p.phaseFactor = 0.05;
    p.detectorX = scene::apertureX; // on the diaphragm, at the opening's edge and beyond it
    CHECK(std::isfinite(std::abs(diffractionIntegral(p, 2500) + diffractionIntegral(p, 7000))));
}
