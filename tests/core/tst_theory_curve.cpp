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

// ∫ exp(i P r) ds over the opening by composite ten-point Gauss–Legendre, panels short enough
// that the phase turns less than a radian on each.
std::complex<double> quadrature(const RunParameters& p, double detectorY) {
    constexpr double node[] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                               0.8650633666889845, 0.9739065285171717};
    constexpr double weight[] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                 0.1494513491505806, 0.0666713443086881};
    const double a = p.halfAperture, d = p.distance();
    const int panels = int(std::ceil(2 * a * p.phaseFactor)) + 16;
    const double h = 2 * a / panels;
    std::complex<double> sum = 0;
    for (int k = 0; k < panels; ++k) {
        for (int j = 0; j < 10; ++j) {
            const double s = -a + (k + 0.5) * h + (j < 5 ? -1 : 1) * node[j % 5] * h / 2;
            const double y = 3500 + s - detectorY;
            sum +=
                weight[j % 5] * h / 2 * std::polar(1.0, p.phaseFactor * std::sqrt(d * d + y * y));
        }
    }
    return sum;
}

struct Case {
    const char* name;
    double wavelength, aperture, distance; // twips
};

RunParameters parametersOf(const Case& c) {
    return exploreParameters({c.wavelength, c.aperture, c.distance});
}

} // namespace

TEST_CASE("the theory follows an independent quadrature to 0.02 % of the peak") {
    const double shortest = nanometresToTwips(5), longest = nanometresToTwips(20000);
    const double narrowest = nanometresToTwips(1000), widest = nanometresToTwips(17500);
    const double nearest = nanometresToTwips(1200), farthest = nanometresToTwips(13200);
    const Case cases[] = {
        {"higher at 350", 2 * pi / 5, 2000, 2000},
        {"shortest, widest, nearest", shortest, widest, nearest},
        {"shortest, narrowest, farthest", shortest, narrowest, farthest},
        {"30 nm, widest, nearest", nanometresToTwips(30), widest, nearest},
        {"high, widest, nearest", 2 * pi / 0.1, widest, nearest},
        {"middle at 350", 2 * pi / 0.05, 2000, 2000},
        {"low, widest, nearest", 2 * pi / 0.01, widest, nearest},
        {"longest, widest, nearest", longest, widest, nearest},
        {"longest, narrowest, farthest", longest, narrowest, farthest},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        const RunParameters p = parametersOf(c);
        const std::vector<double> theory = theoryIntensities(p);
        REQUIRE(theory.size() == 221);
        // A phasor's length per twip of the opening it stands for, whatever the sampling.
        const double scale = *p.intensityScale * std::pow(stepLengthPerTwip(p.wavelength()), 2);
        std::vector<double> expected;
        double peak = 0;
        for (int i = 0; i < 221; i += 10) {
            expected.push_back(scale * std::norm(quadrature(p, 7000 - 25 * i)));
            peak = std::max(peak, expected.back());
        }
        for (int i = 0; i < 221; i += 10) {
            INFO("y " << 7000 - 25 * i);
            CHECK(std::fabs(theory[i] - expected[i / 10]) < 2e-4 * peak);
        }
    }
}

TEST_CASE("finely sampled chains follow the theory within 2 % of the peak") {
    const Case cases[] = {
        {"high at 300", 2 * pi / 0.1, 2000, 1000},
        {"high at 400", 2 * pi / 0.1, 2000, 3000},
        {"middle at 300", 2 * pi / 0.05, 2000, 1000},
        {"middle at 350", 2 * pi / 0.05, 2000, 2000},
        {"low at 350", 2 * pi / 0.01, 2000, 2000},
        {"lower at 400", 2 * pi / 0.0015, 2000, 3000},
        {"300 nm, 5 µm, 10 µm", nanometresToTwips(300), nanometresToTwips(5000),
         nanometresToTwips(10000)},
        {"1 µm, 2 µm, 3 µm", nanometresToTwips(1000), nanometresToTwips(2000),
         nanometresToTwips(3000)},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        const RunParameters p = parametersOf(c);
        const std::vector<double> theory = theoryIntensities(p);
        const double peak = *std::max_element(theory.begin(), theory.end());
        for (int i = 0; i < 221; ++i) {
            const double y = 7000 - 25 * i;
            const Pen end = walkChain(p, y, [](Pen, Pen, bool) {});
            const double bar =
                *p.intensityScale * (std::pow(end.x - p.detectorX, 2) + std::pow(end.y - y, 2));
            INFO("y " << y);
            CHECK(std::fabs(bar - theory[i]) < 0.02 * peak);
        }
    }
}

TEST_CASE("the integral in odd geometries ends, and says what it can") {
    RunParameters p = presetParameters(frequencyPresets[2], distancePresets[1]);
    SUBCASE("detector on the diaphragm") {
        p.detectorX = scene::apertureX;
        for (const double y : {3500.0, 2500.0, 7000.0})
            CHECK(std::isfinite(std::abs(diffractionIntegral(p, y))));
    }
    SUBCASE("no phase: every point of the opening in step") {
        p.phaseFactor = 0;
        CHECK(diffractionIntegral(p, 4000) == std::complex<double>(2000, 0));
    }
    SUBCASE("no opening") {
        p.halfAperture = 0;
        p.sampleSpacing = 0;
        CHECK(theoryIntensities(p) == std::vector<double>(221, 0.0));
    }
    SUBCASE("no number") {
        p.phaseFactor = std::nan("");
        CHECK(std::isnan(std::abs(diffractionIntegral(p, 4000))));
    }
}
