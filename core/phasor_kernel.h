// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The arithmetic of one detector point's phasor chain, on the widest vector instructions the
// CPU has: every path length, phase, sine and cosine evaluated directly, then the pen path.
#pragma once

namespace velmora {

// Kept out of the kernel files, which are compiled for other instruction sets.
struct RunParameters;

// The extra phasor, then the upper and lower sample of every offset 0 … 1000.
constexpr int chainLength = 2003;

// The pen before phasor i is (x[i], y[i]) and after it (x[i + 1], y[i + 1]).
struct ChainPens {
    double x[chainLength + 1];
    double y[chainLength + 1];
};

// Where the vector work runs. Every target gives the same path lengths and phases as the
// scalar code; sines and cosines may differ in their last digit. WebAssembly has no CPU to
// ask: a browser build has WasmSimd or nothing, chosen when it is built.
enum class MathTarget { Scalar, Sse2, Avx2, Avx512, WasmSimd };

bool mathTargetAvailable(MathTarget target);
// The best available target unless a test or benchmark forced another.
MathTarget mathTarget();
// Forces a target; false, and nothing changes, when this CPU or build lacks it.
bool setMathTarget(MathTarget target);
void resetMathTarget();
const char* mathTargetName(MathTarget target);

// The chain of the detector point (p.detectorX, detectorY), its samples p.sampleSpacing apart.
void evaluateChain(const RunParameters& p, double detectorY, ChainPens& pens);

// Marks the upper halves of the vector registers clean on CPUs with AVX; nothing elsewhere.
void clearUpperVectorState();

} // namespace velmora
