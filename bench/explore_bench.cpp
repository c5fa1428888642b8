// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What Explore adds to a run: the theory curve's 221 points, at every frequency preset and at
// the range's corners where it needs the most panels; and a run with Explore values against
// the preset run.
#include "run_parameters.h"
#include "start_action.h"
#include "theory_curve.h"

#include <benchmark/benchmark.h>

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

// Whole runs without drawing, so that the arithmetic shows: the default preset run, and runs
// with Explore values, whose bars' scale is fitted to their chains before the first bar (every
// chain's end kept, the spirals' chains evaluated again as they are drawn).
void BM_PresetRun(benchmark::State& state) {
    const ParameterStore store{"0.6", "350", "0"};
    NullSurface surface;
    NoLabels labels;
    for (auto _ : state)
        benchmark::DoNotOptimize(runStartAction(store, surface, labels).report.intensities.data());
}
BENCHMARK(BM_PresetRun)->Unit(benchmark::kMillisecond);

const std::array exploreRuns{
    Case{"middle/350's values", {2 * pi / 0.05, 2000, 2000}},
    Case{"600 nm, 5 µm, 10 µm",
         {nanometresToTwips(600), nanometresToTwips(5000), nanometresToTwips(10000)}},
    Case{"5 nm, widest, nearest", {shortest, widest, nanometresToTwips(1200)}},
};

void BM_ExploreRun(benchmark::State& state) {
    const Case& c = exploreRuns[std::size_t(state.range(0))];
    state.SetLabel(c.name);
    const ParameterStore store{"0.6", "350", "0"};
    const ExploreSettings explore{exploreParameters(c.values), false};
    NullSurface surface;
    NoLabels labels;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            runStartAction(store, surface, labels, ".", {}, explore).report.intensities.data());
    }
}
BENCHMARK(BM_ExploreRun)->DenseRange(0, exploreRuns.size() - 1)->Unit(benchmark::kMillisecond);

void BM_ExploreParameters(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(exploreParameters({130, 1500, 2500}));
}
BENCHMARK(BM_ExploreParameters)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
