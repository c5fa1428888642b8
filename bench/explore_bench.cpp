// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What Explore adds to a run: the theory curve's 221 points, at every frequency preset and at
// the range's corners where it needs the most panels; and the arithmetic of a scan whose bars'
// scale is fitted to its chains before the first bar (every chain end kept, the spirals' chains
// evaluated again to draw them) against the preset scan's.
#include "phasor_kernel.h"
#include "presets.h"
#include "run_parameters.h"
#include "spiral_scan.h"
#include "theory_curve.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>

using namespace velmora;

namespace {

struct Case {
    const char* name;
    ExploreValues values; // twips
};
const double shortest = nanometresToTwips(5), widest = nanometresToTwips(17500);
const std::array cases{
    Case{"higher/350", {2 * pi / 5, 2000, 2000}},
    Case{"high/350", {2 * pi / 0.1, 2000, 2000}},
    Case{"middle/350", {2 * pi / 0.05, 2000, 2000}},
    Case{"low/350", {2 * pi / 0.01, 2000, 2000}},
    Case{"lower/350", {2 * pi / 0.0015, 2000, 2000}},
    Case{"5 nm, widest, nearest", {shortest, widest, nanometresToTwips(1200)}},
    Case{"5 nm, widest, farthest", {shortest, widest, nanometresToTwips(13200)}},
};

void BM_TheoryCurve(benchmark::State& state) {
    const Case& c = cases[std::size_t(state.range(0))];
    state.SetLabel(c.name);
    const RunParameters p = exploreParameters(c.values);
    for (auto _ : state)
        benchmark::DoNotOptimize(theoryIntensities(p).data());
}
BENCHMARK(BM_TheoryCurve)->DenseRange(0, cases.size() - 1)->Unit(benchmark::kMillisecond);

// The preset scan's arithmetic: one chain per detector point, on the run's kernel.
void BM_PresetScanArithmetic(benchmark::State& state) {
    const RunParameters p = presetParameters(frequencyPresets[2], distancePresets[1]);
    static ChainPens pens;
    for (auto _ : state) {
        for (int scanY = firstScanY; scanY <= lastScanY; scanY += scanStep) {
            evaluateChain(p.detectorX, scene::sceneBottom - scanY, p.frequency(), pens);
            benchmark::DoNotOptimize(pens.x[chainLength]);
        }
    }
}
BENCHMARK(BM_PresetScanArithmetic)->Unit(benchmark::kMillisecond);

// The same with the scale fitted first: every chain's end kept, the largest squared resultant
// found and the scale chosen, then the 12 spirals' chains evaluated again as they are drawn.
void BM_FittedScanArithmetic(benchmark::State& state) {
    const RunParameters p = presetParameters(frequencyPresets[2], distancePresets[1]);
    static ChainPens pens;
    std::array<double, scanPoints> squared{};
    for (auto _ : state) {
        for (int k = 0; k < scanPoints; ++k) {
            const double y = scene::sceneBottom - (firstScanY + k * scanStep);
            evaluateChain(p.detectorX, y, p.frequency(), pens);
            const double dx = pens.x[chainLength] - p.detectorX, dy = pens.y[chainLength] - y;
            squared[std::size_t(k)] = dx * dx + dy * dy;
        }
        const double largest = *std::max_element(squared.begin(), squared.end());
        benchmark::DoNotOptimize(fittedIntensityScale(p, largest));
        for (int scanY = firstScanY; scanY <= lastScanY; scanY += spiralEvery) {
            evaluateChain(p.detectorX, scene::sceneBottom - scanY, p.frequency(), pens);
            benchmark::DoNotOptimize(pens.x[chainLength]);
        }
    }
}
BENCHMARK(BM_FittedScanArithmetic)->Unit(benchmark::kMillisecond);

void BM_ExploreParameters(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(exploreParameters({130, 1500, 2500}));
}
BENCHMARK(BM_ExploreParameters)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
