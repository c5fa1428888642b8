// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spiral_scan.h"

#include "phasor_chain.h"
#include "run_time_error.h"
#include "scene.h"

namespace velmora {

namespace {
Brake installedBrake = nullptr;
}

void setBrake(Brake brake) {
    installedBrake = brake;
}

void busyWait(std::uint32_t count) {
    if (installedBrake)
        return installedBrake(count * brakeUnit);
    std::chrono::steady_clock clock;
    busyWait(count, clock);
}

std::vector<double> runScan(DrawingSurface& s, const ParameterStore& store, double detectorX,
                            Frequency f, const QLocale& locale) {
    std::vector<double> bars;
    bars.reserve(221);
    using namespace scene;
    auto line = [&s](Pen a, Pen b, std::optional<Colour> colour = std::nullopt) {
        s.Line(toSingle(a.x), toSingle(a.y), toSingle(b.x), toSingle(b.y), colour);
    };
    for (int scanY = 500; scanY <= 6000; scanY += 25) {
        const std::uint32_t delayCount = delayCountFor(store.nSpomaleni(), locale);
        if (delayCount * brakeUnit >= perceptibleWait)
            s.present(); // what is drawn so far shows before a pause the class can see
        busyWait(delayCount);

        const bool spiralStep = scanY % 500 == 0;
        const double detectorY = sceneBottom - scanY;
        const Pen detector{detectorX, detectorY};
        const Pen end = walkPhasorChain(detectorX, detectorY, f, [&](Pen from, Pen to, bool extra) {
            if (extra || spiralStep)
                line(from, to);
        });

        s.setDrawWidth(2);
        if (spiralStep)
            line(detector, end, colours::green);
        s.Circle(toSingle(plotX), toSingle(detectorY), 1);
        s.setDrawWidth(1);

        const double dx = detectorX - end.x;
        const double dy = detectorY - end.y;
        const double squared = dx * dx + dy * dy;
        const double intensity = squared * intensityScaleFor(store.nRozteč()).value_or(1.0);

        s.setDrawWidth(2);
        line({plotX, detectorY}, {plotX + intensity, detectorY});
        bars.push_back(intensity);
        s.setDrawWidth(1);
        // Without a pause, steps come far faster than a display refreshes, and each repaint
        // costs the window system a wake-up: they are shown 20 at a time, with each spiral.
        // The last step draws a spiral too.
        if (spiralStep)
            s.present();
    }
    return bars;
}

} // namespace velmora
