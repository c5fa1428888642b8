// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One detector point's Cornu spiral: a chain of equal phasors, one per sample point of the
// opening plus one extra, each turned by the path length from its sample to the detector.
#pragma once

#include "phasor_kernel.h"
#include "presets.h"
#include "scene.h"

#include <cmath>

namespace velmora {

struct Pen {
    double x, y;
};

// Walks the 2003 phasors from (detectorX, detectorY) and returns the pen's end. Each phasor
// is handed to onPhasor(from, to, isExtra); the extra one comes first and uses the horizontal
// distance alone. The arithmetic runs on the vector kernel the CPU suits best.
template <class OnPhasor>
Pen walkPhasorChain(double detectorX, double detectorY, Frequency f, OnPhasor&& onPhasor) {
    ChainPens pens;
    evaluateChain(detectorX, detectorY, f, pens);
    for (int i = 0; i < chainLength; ++i)
        onPhasor(Pen{pens.x[i], pens.y[i]}, Pen{pens.x[i + 1], pens.y[i + 1]}, i == 0);
    return {pens.x[chainLength], pens.y[chainLength]};
}

// The same walk, one scalar phasor at a time: the reference the kernels are held to. Every
// phase is evaluated directly, in double precision.
template <class OnPhasor>
Pen walkPhasorChainScalar(double detectorX, double detectorY, Frequency f, OnPhasor&& onPhasor) {
    using namespace scene;
    Pen pen{detectorX, detectorY};
    auto step = [&](double pathLength, bool isExtra) {
        const double phase = f.phaseFactor * pathLength;
        const Pen next{pen.x + f.stepLength * std::cos(phase),
                       pen.y + f.stepLength * std::sin(phase)};
        onPhasor(pen, next, isExtra);
        pen = next;
    };
    step(detectorX - apertureX, true);
    const double dx = apertureX - detectorX;
    for (int s = 0; s <= halfAperture; ++s) {
        const double up = (axisY - s) - detectorY;
        step(std::sqrt(dx * dx + up * up), false);
        const double down = (axisY + s) - detectorY;
        step(std::sqrt(dx * dx + down * down), false);
    }
    return pen;
}

} // namespace velmora
