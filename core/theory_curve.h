// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The pattern the phasor chains approximate: the diffraction integral over the opening,
// E(y) = ∫ exp(i P r(s)) ds, with the exact path length r from each point of the opening to the
// detector point. The chain's resultant is a Riemann sum of it, so the two share the bars' scale.
#pragma once

#include "run_parameters.h"

#include <complex>
#include <vector>

namespace velmora {

// E at the detector point (detectorX, detectorY), in twips: what unit phasors, one per twip of
// the opening, would add up to. |E|² is within 0.02 % of its largest value across the scan for
// every parameter in range, at any wavelength: on each panel the phase is a cubic integrated
// exactly, so a panel may span many oscillations where the path length changes evenly.
std::complex<double> diffractionIntegral(const RunParameters& parameters, double detectorY);

// The bar each of the scan's detector points would draw if its chain were the integral:
// intensityScale · (stepLength / sampleSpacing)² · |E|², bottom to top as the scan goes.
std::vector<double> theoryIntensities(const RunParameters& parameters);

} // namespace velmora
