// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A visible run in a real window against the same run with no window, and the memory that
// twenty visible runs take. Needs a display (an X server such as Xvfb will do).
#include "canvas.h"
#include "frm_velmora.h"
#include "number_text.h"
#include "start_action.h"

// moc cannot read the accented names the adapters bring in, and needs none of them.
#ifndef Q_MOC_RUN
#include "core_text.h"
#endif

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace velmora;
using namespace velmora::qt;

namespace {
frmVelmora* shownWindow() {
    static frmVelmora* window = [] {
        auto* w = new frmVelmora;
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            qFatal("The window never appeared on the display.");
        return w;
    }();
    return window;
}

// From the press of Start to the handler's return, with every step repainted on screen.
void BM_VisibleRun(benchmark::State& state) {
    frmVelmora* window = shownWindow();
    for (auto _ : state)
        window->cmdStart_Click();
}
BENCHMARK(BM_VisibleRun)->Unit(benchmark::kMillisecond);

// The same Start action into a canvas that nothing shows.
void BM_HeadlessRun(benchmark::State& state) {
    const ParameterStore presets{qt::toUtf8(qt::numberToText(0.6)), "350", "1"};
    Canvas canvas(QSize(765, 560));
    NoLabels labels;
    for (auto _ : state)
        runStartAction(presets, canvas, labels, qt::decimalPoint());
}
BENCHMARK(BM_HeadlessRun)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    prepareWindowSystem(); // as the program does
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    frmVelmora* window = shownWindow();
    for (int run = 0; run < 20; ++run)
        window->cmdStart_Click();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("Peak resident memory after 20 more visible runs: %.1f MB\n",
                double(usage.ru_maxrss) / 1024.0);
}
