// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every chain kernel this build can run, forced in turn, against the scalar walk: every preset's
// chains pen position by pen position, their intensities, and the worked figures of a default
// run. Then the kernels' own sine and cosine against long double, over the phases a run takes.
#include "number_text.h"
#include "phasor_chain.h"
#include "phasor_kernel.h"
#include "presets.h"
#include "scene.h"
#include "vector_sincos.h"
#ifdef __wasm_simd128__
#include "phasor_kernel_wasm.h"
#endif

#include <doctest/doctest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace velmora;

namespace {
constexpr MathTarget targets[] = {MathTarget::Scalar, MathTarget::Sse2, MathTarget::Avx2,
                                  MathTarget::Avx512, MathTarget::WasmSimd};

struct Step {
    Pen from, to;
    bool extra;
};

std::vector<Step> steps(bool vector, double detectorX, double detectorY, Frequency f, Pen& end) {
    std::vector<Step> out;
    const auto record = [&](Pen from, Pen to, bool extra) { out.push_back({from, to, extra}); };
    end = vector ? walkPhasorChain(detectorX, detectorY, f, record)
                 : walkPhasorChainScalar(detectorX, detectorY, f, record);
    return out;
}

bool near(Pen a, Pen b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

double squaredResultant(double detectorX, double detectorY, Pen end) {
    return (detectorX - end.x) * (detectorX - end.x) + (detectorY - end.y) * (detectorY - end.y);
}

// Forces the target for one test; false when this build or CPU lacks it.
struct ForcedTarget {
    bool available;
    explicit ForcedTarget(MathTarget t) : available(setMathTarget(t)) {}
    ~ForcedTarget() { resetMathTarget(); }
};
} // namespace

TEST_CASE("every kernel's chains and intensities match the scalar walk") {
    for (MathTarget target : targets) {
        const ForcedTarget forced(target);
        if (!forced.available)
            continue;
        REQUIRE(mathTarget() == target);
        for (double fi : {5.0, 1.0, 0.6, 0.2, 0.03}) {
            for (const char* distance : {"300", "350", "400"}) {
                INFO(mathTargetName(target), ", frequency ", fi, ", distance ", distance);
                const Frequency f = frequencyFor(numberToText(fi));
                REQUIRE(f.stepLength > 0);
                const double detectorX = detectorXFor(distance, scene::apertureX);
                for (int scanY = 500; scanY <= 6000; scanY += 25) {
                    const double detectorY = scene::sceneBottom - scanY;
                    INFO("detector y ", detectorY);
                    Pen vectorEnd{}, scalarEnd{};
                    const auto v = steps(true, detectorX, detectorY, f, vectorEnd);
                    const auto s = steps(false, detectorX, detectorY, f, scalarEnd);
                    REQUIRE(v.size() == std::size_t(chainLength));
                    REQUIRE(s.size() == std::size_t(chainLength));
                    // Every fifth point pen by pen; the intensity of every point.
                    if (scanY % 125 == 0) {
                        std::size_t i = 0;
                        while (i < v.size() && v[i].extra == (i == 0) &&
                               near(v[i].from, s[i].from, 1e-6) && near(v[i].to, s[i].to, 1e-6))
                            ++i;
                        CHECK_MESSAGE(i == v.size(), "phasor ", i, " of the chain differs");
                    }
                    CHECK((near(vectorEnd, v.back().to, 0) && near(scalarEnd, s.back().to, 0)));
                    const double vs = squaredResultant(detectorX, detectorY, vectorEnd);
                    const double ss = squaredResultant(detectorX, detectorY, scalarEnd);
                    CHECK(std::fabs(vs - ss) <= 1e-12 * ss);
                }
            }
        }
    }
}

TEST_CASE("every kernel gives the worked figures of a default step") {
    for (MathTarget target : targets) {
        const ForcedTarget forced(target);
        if (!forced.available)
            continue;
        INFO(mathTargetName(target));
        const Frequency f = frequencyFor(numberToText(0.6));
        Pen extraEnd{};
        const Pen end = walkPhasorChain(5500, 4000, f, [&](Pen, Pen to, bool extra) {
            if (extra)
                extraEnd = to;
        });
        CHECK(near(extraEnd, {5500.8623, 3999.4936}, 0.01));
        INFO("end (", end.x, ", ", end.y, ")");
        CHECK(near(end, {6016.2496, 4161.2949}, 0.01));
        CHECK(std::fabs(squaredResultant(5500, 4000, end) - 292529.71) <= 0.01);
    }
}

namespace {
#ifdef __wasm_simd128__
using Lanes = detail::WasmSimd;
#else
using Lanes = detail::OneLane;
#endif

// How far from the reference, in units in the last place of the double nearest it.
double ulps(double value, long double reference) {
    const double nearest = double(reference);
    if (nearest == 0)
        return value == 0 ? 0 : HUGE_VAL;
    const double ulp = std::ldexp(1.0, std::ilogb(nearest) - (DBL_MANT_DIG - 1));
    return double(std::fabs((long double)value - reference) / ulp);
}

// The worst error over the angles, sines and cosines both.
double worstUlps(const std::vector<double>& angles) {
    double worst = 0;
    for (std::size_t i = 0; i + Lanes::width <= angles.size(); i += Lanes::width) {
        alignas(16) double sines[Lanes::width], cosines[Lanes::width];
        detail::sincosWith<Lanes>(Lanes::load(&angles[i]), sines, cosines);
        for (int k = 0; k < Lanes::width; ++k) {
            const long double x = angles[i + k];
            worst = std::max({worst, ulps(sines[k], std::sin(x)), ulps(cosines[k], std::cos(x))});
        }
    }
    return worst;
}
} // namespace

TEST_CASE("the portable sine and cosine stay within one unit in the last place") {
    constexpr int count = 16384;
    const struct {
        const char* name;
        double from, to;
    } ranges[] = {
        {"a run's phases", 1, 27100}, // 0.0015 to 5 rad a twip, over 1000 to 5410 twips
        {"small angles", 1e-9, 2},
        {"negative angles", -3e4, -1e-3},
        {"near the end of the reduced range", 1.04e6, 1.0486e6},
        {"beyond it, on the scalar functions", 1.0486e6, 1e9},
    };
    for (const auto& range : ranges) {
        std::vector<double> angles;
        for (int i = 0; i < count; ++i)
            angles.push_back(range.from + (range.to - range.from) * i / (count - 1));
        const double worst = worstUlps(angles);
        INFO(std::string(range.name), ": ", worst, " ulp");
        CHECK(worst <= 1.0);
    }
    // The hardest to reduce: the doubles nearest multiples of π/2, up to the largest phase.
    std::vector<double> multiples;
    for (int k = 1; k < 20000; k += 5)
        multiples.push_back(double(k * 1.5707963267948966192313216916397514L));
    const double worst = worstUlps(multiples);
    INFO("next to multiples of pi/2: ", worst, " ulp");
    CHECK(worst <= 1.0);
}
