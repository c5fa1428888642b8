// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One detector point's Cornu spiral: a chain of equal phasors, one per sample point of the
// opening plus one extra, each turned by the path length from its sample to the detector.
#pragma once

#include "phasor_kernel.h"
#include "presets.h"
#include "run_parameters.h"
#include "scene.h"

namespace velmora {

// Walks the 2003 phasors from (detectorX, detectorY) and returns the pen's end. Each phasor
// is handed to onPhasor(from, to, isExtra); the extra one comes first and uses the horizontal
// distance alone. The arithmetic runs on the vector kernel the CPU suits best.
template <class OnPhasor>
Pen walkPhasorChain(const RunParameters& p, double detectorY, OnPhasor&& onPhasor) {
    ChainPens pens;
    evaluateChain(p, detectorY, pens);
    for (int i = 0; i < chainLength; ++i)
        onPhasor(Pen{pens.x[i], pens.y[i]}, Pen{pens.x[i + 1], pens.y[i + 1]}, i == 0);
    return {pens.x[chainLength], pens.y[chainLength]};
}

// The preset opening, samples one twip apart, with the detector line at detectorX.
inline RunParameters presetOpening(double detectorX, Frequency f) {
    RunParameters p;
    p.phaseFactor = f.phaseFactor;
    p.stepLength = f.stepLength;
    p.detectorX = detectorX;
    return p;
}

template <class OnPhasor>
Pen walkPhasorChain(double detectorX, double detectorY, Frequency f, OnPhasor&& onPhasor) {
    return walkPhasorChain(presetOpening(detectorX, f), detectorY, onPhasor);
}

// The same walk, one scalar phasor at a time (walkChain).
template <class OnPhasor>
Pen walkPhasorChainScalar(double detectorX, double detectorY, Frequency f, OnPhasor&& onPhasor) {
    return walkChain(presetOpening(detectorX, f), detectorY, onPhasor);
}

} // namespace velmora
