// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The one place that picks a chain kernel for the CPU, and the one place that explains why
// the vector state is cleared before every chain.
#include "phasor_kernel.h"

#include "phasor_chain.h"
#include "phasor_kernel_impl.h"
#include "run_parameters.h"
#include "scene.h"
#include "vector_sincos.h"

#include <array>
#include <atomic>
#include <limits>

#if defined(VELMORA_X86_KERNELS) && (defined(__x86_64__) || defined(__i386__)) &&                  \
    (defined(__GNUC__) || defined(__clang__))
#define VELMORA_X86 1
#include <immintrin.h>
#endif
#if defined(VELMORA_WASM_KERNELS) && defined(__EMSCRIPTEN__)
#define VELMORA_WASM 1
#endif

namespace velmora {

namespace detail {
// Here, apart from the code that reads them (vector_sincos.h), for the reason given there.
const SincosConstants sincosConstants{
    .twoOverPi = 0x1.45f306dc9c883p-1,
    .halfPi1 = 0x1.921fb544p+0,
    .halfPi2 = 0x1.0b4611a6p-34,
    .halfPi3 = 0x1.3198a2ep-69,
    .halfPi3Tail = 0x1.b839a252049c1p-104,
    .reducedRange = 0x1p20,
    .half = 0.5,
    .one = 1.0,
    .sine = {-0x1.5555555555548p-3, 0x1.111111110f7d0p-7, -0x1.a01a019bfdf04p-13,
             0x1.71de3567d4933p-19, -0x1.ae5e5a92987bfp-26, 0x1.5d8fd1fed6450p-33},
    .cosine = {0x1.555555555554bp-5, -0x1.6c16c16c14f91p-10, 0x1.a01a019c844f4p-16,
               -0x1.27e4f7eac4b49p-22, 0x1.1ee9d7b4df119p-29, -0x1.8fa49a06094c6p-37},
};
} // namespace detail

namespace {
// The reference walk itself, recording its pen.
void evaluateScalar(const RunParameters& p, double detectorY, ChainPens& pens) {
    int i = 0;
    pens.x[0] = p.detectorX;
    pens.y[0] = detectorY;
    walkChain(p, detectorY, [&](Pen, Pen to, bool) {
        ++i;
        pens.x[i] = to.x;
        pens.y[i] = to.y;
    });
}

#if defined(VELMORA_X86) || defined(VELMORA_WASM)
using detail::ChainInput;
using detail::paddedLength;

// Sample heights in chain order, as the scalar walk takes them; the extra phasor's entry and
// the padding are never used. Made again only when a run's spacing differs from the last one's.
struct SampleHeights {
    double spacing = std::numeric_limits<double>::quiet_NaN();
    alignas(64) std::array<double, paddedLength> y{};
};

const double* sampleHeights(double spacing) {
    thread_local SampleHeights heights;
    if (!(heights.spacing == spacing)) {
        heights.spacing = spacing;
        heights.y.fill(scene::axisY);
        for (int s = 0; s <= lastSampleOffset; ++s) {
            const double offset = s * spacing;
            heights.y[std::size_t(1 + 2 * s)] = scene::axisY - offset;
            heights.y[std::size_t(2 + 2 * s)] = scene::axisY + offset;
        }
    }
    return heights.y.data();
}
#endif

#ifdef VELMORA_X86
bool cpuHas(MathTarget target) {
    __builtin_cpu_init();
    switch (target) {
    case MathTarget::Scalar:
    case MathTarget::Sse2:
        return true;
    case MathTarget::Avx2: // the library's AVX2 kernels use FMA as well
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case MathTarget::Avx512:
        return __builtin_cpu_supports("avx512f");
    case MathTarget::WasmSimd:
        return false;
    }
    return false;
}

const bool cpuHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}
#elif defined(VELMORA_WASM)
// A browser without WebAssembly SIMD refuses the whole module, so a running one has it.
bool cpuHas(MathTarget target) {
    return target == MathTarget::Scalar || target == MathTarget::WasmSimd;
}
#else
bool cpuHas(MathTarget target) {
    return target == MathTarget::Scalar;
}
#endif

MathTarget bestTarget() {
    for (MathTarget t :
         {MathTarget::Avx512, MathTarget::Avx2, MathTarget::Sse2, MathTarget::WasmSimd}) {
        if (cpuHas(t))
            return t;
    }
    return MathTarget::Scalar;
}

std::atomic<MathTarget>& activeTarget() {
    static std::atomic<MathTarget> target{bestTarget()};
    return target;
}
} // namespace

bool mathTargetAvailable(MathTarget target) {
    return cpuHas(target);
}

MathTarget mathTarget() {
    return activeTarget().load(std::memory_order_relaxed);
}

bool setMathTarget(MathTarget target) {
    if (!cpuHas(target))
        return false;
    activeTarget().store(target, std::memory_order_relaxed);
    return true;
}

void resetMathTarget() {
    activeTarget().store(bestTarget(), std::memory_order_relaxed);
}

const char* mathTargetName(MathTarget target) {
    switch (target) {
    case MathTarget::Scalar:
        return "scalar";
    case MathTarget::Sse2:
        return "SSE2";
    case MathTarget::Avx2:
        return "AVX2";
    case MathTarget::Avx512:
        return "AVX-512";
    case MathTarget::WasmSimd:
        return "WebAssembly SIMD";
    }
    return "?";
}

// Code that leaves the upper halves of the vector registers in use without a vzeroupper
// makes every later legacy-SSE instruction pay a state transition or a merge with those
// halves on many Intel CPUs: the scalar walk ran ten times slower. Constructing the
// QGuiApplication leaves them so here (XGETBV(1) shows it; binding symbols at load time with
// LD_BIND_NOW=1 makes it vanish, so it comes from the dynamic linker's lazy binding), and any
// library may do it again. So the state is cleared before every chain and at the start of a
// run, and the kernels on AVX CPUs are VEX-encoded, immune whatever comes in between.
void clearUpperVectorState() {
#ifdef VELMORA_X86
    if (cpuHasAvx)
        zeroUpper();
#endif
}

void evaluateChain(const RunParameters& p, double detectorY, ChainPens& pens) {
    clearUpperVectorState();
    if (mathTarget() == MathTarget::Scalar)
        return evaluateScalar(p, detectorY, pens);
#if defined(VELMORA_X86) || defined(VELMORA_WASM)
    const double dx = scene::apertureX - p.detectorX;
    const ChainInput in{sampleHeights(p.sampleSpacing),
                        dx * dx,
                        detectorY,
                        p.phaseFactor,
                        p.phaseFactor * (p.detectorX - scene::apertureX),
                        p.stepLength,
                        p.detectorX,
                        detectorY};
    switch (mathTarget()) {
#ifdef VELMORA_X86
    case MathTarget::Sse2:
        return detail::evaluateChainSse2(in, pens);
    case MathTarget::Avx2:
        return detail::evaluateChainAvx2(in, pens);
    case MathTarget::Avx512:
        return detail::evaluateChainAvx512(in, pens);
#else
    case MathTarget::WasmSimd:
        return detail::evaluateChainWasm(in, pens);
#endif
    default:
        break;
    }
#endif
}

} // namespace velmora
