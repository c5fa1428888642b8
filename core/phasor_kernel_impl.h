// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Shared by the dispatcher and the per-instruction-set kernels. Each kernel file is compiled
// for its own instruction set, so everything here has internal linkage: an inline function
// shared between them could let the linker keep an AVX-512 copy for a CPU without it.
#pragma once

#include "phasor_kernel.h"

namespace velmora::detail {

// Whole vectors of eight; the lanes past the chain are evaluated and ignored.
constexpr int paddedLength = 2008;

struct ChainInput {
    const double* sampleY; // height of each phasor's sample point, paddedLength long
    double dxSquared;      // (ApertureX − DetectorX)², the same for every sample
    double detectorY;
    double phaseFactor;
    double extraPhase; // the extra phasor's: horizontal distance alone
    double stepLength;
    double startX, startY;
};

void evaluateChainSse2(const ChainInput& in, ChainPens& pens);
void evaluateChainAvx2(const ChainInput& in, ChainPens& pens);
void evaluateChainAvx512(const ChainInput& in, ChainPens& pens);
void evaluateChainWasm(const ChainInput& in, ChainPens& pens);

namespace {
// The pen adds its phasors in chain order, in double precision, as the scalar walk does;
// kernel files are compiled without contraction, so no fused multiply-add changes a digit.
inline void addUpPen(const ChainInput& in, const double* cosines, const double* sines,
                     ChainPens& pens) {
    double x = in.startX;
    double y = in.startY;
    pens.x[0] = x;
    pens.y[0] = y;
    for (int i = 0; i < chainLength; ++i) {
        x = x + in.stepLength * cosines[i];
        y = y + in.stepLength * sines[i];
        pens.x[i + 1] = x;
        pens.y[i + 1] = y;
    }
}

// One kernel body for every width. V supplies the vector type and operations.
template <class V> inline void evaluateWith(const ChainInput& in, ChainPens& pens) {
    alignas(64) double phases[paddedLength];
    alignas(64) double cosines[paddedLength];
    alignas(64) double sines[paddedLength];
    const auto dxSquared = V::broadcast(in.dxSquared);
    const auto detectorY = V::broadcast(in.detectorY);
    const auto phaseFactor = V::broadcast(in.phaseFactor);
    for (int i = 0; i < paddedLength; i += V::width) {
        const auto dy = V::sub(V::load(in.sampleY + i), detectorY);
        // The hardware square root is correctly rounded: the scalar code's path lengths.
        const auto pathLength = V::sqrt(V::add(dxSquared, V::mul(dy, dy)));
        V::store(phases + i, V::mul(phaseFactor, pathLength));
    }
    phases[0] = in.extraPhase;
    for (int i = 0; i < paddedLength; i += V::width)
        V::sincos(V::load(phases + i), sines + i, cosines + i);
    addUpPen(in, cosines, sines, pens);
}
} // namespace

} // namespace velmora::detail
