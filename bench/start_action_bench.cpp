// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cost of one Start action: its bare arithmetic, scalar and on each vector kernel, and the
// whole run into the image canvas and into a surface that draws nothing. Everything runs after
// a QGuiApplication has been constructed, as in the program.
#include "canvas.h"
#include "number_text.h"
#include "phasor_chain.h"
#include "phasor_kernel.h"
#include "presets.h"
#include "result_labels.h"
#include "start_action.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {
const ParameterStore defaults{"0.6", "350", "1"};

// 221 detector points, each with its full chain of 2003 phasors, nothing drawn: the scalar
// reference, with the upper vector state clean so that no transition penalty is measured.
void BM_Arithmetic(benchmark::State& state) {
    const Frequency f = frequencyFor("0.6");
    for (auto _ : state) {
        clearUpperVectorState();
        for (int scanY = 500; scanY <= 6000; scanY += 25) {
            Pen end = walkPhasorChainScalar(5500, 7500 - scanY, f, [](Pen, Pen, bool) {});
            benchmark::DoNotOptimize(end);
        }
    }
}
BENCHMARK(BM_Arithmetic)->Unit(benchmark::kMillisecond);

// The same on the kernel the run uses, and on every other this CPU has (argument: MathTarget).
void BM_VectorArithmetic(benchmark::State& state) {
    const auto target = MathTarget(state.range(0));
    if (!setMathTarget(target)) {
        state.SkipWithError("this CPU lacks the target");
        return;
    }
    state.SetLabel(mathTargetName(target));
    const Frequency f = frequencyFor("0.6");
    for (auto _ : state) {
        for (int scanY = 500; scanY <= 6000; scanY += 25) {
            Pen end = walkPhasorChain(5500, 7500 - scanY, f, [](Pen, Pen, bool) {});
            benchmark::DoNotOptimize(end);
        }
    }
    resetMathTarget();
}
BENCHMARK(BM_VectorArithmetic)
    ->Arg(int(MathTarget::Avx512))
    ->Arg(int(MathTarget::Avx2))
    ->Arg(int(MathTarget::Sse2))
    ->Arg(int(MathTarget::Scalar))
    ->Unit(benchmark::kMillisecond);

// A fresh canvas per run, as a window's first run would see it; allocating it is cheap.
void BM_StartActionCanvas(benchmark::State& state) {
    NoLabels labels;
    for (auto _ : state) {
        Canvas canvas(QSize(765, 560));
        runStartAction(defaults, canvas, labels);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_StartActionCanvas)->Unit(benchmark::kMillisecond);

void BM_StartActionNullSurface(benchmark::State& state) {
    NullSurface surface;
    NoLabels labels;
    for (auto _ : state)
        runStartAction(defaults, surface, labels);
}
BENCHMARK(BM_StartActionNullSurface)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    // QPainter needs a GUI application for fonts; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
