// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chain kernel on SSE2, compiled for that instruction set alone and entered only through
// the dispatcher once the CPU has been seen to support it.
#include "phasor_kernel_impl.h"

#include <immintrin.h>
#include <sleef.h>

namespace velmora::detail {

namespace {
struct Sse2 {
    static constexpr int width = 2;
    static __m128d broadcast(double v) { return _mm_set1_pd(v); }
    static __m128d load(const double* p) { return _mm_load_pd(p); }
    static void store(double* p, __m128d v) { _mm_store_pd(p, v); }
    static __m128d add(__m128d a, __m128d b) { return _mm_add_pd(a, b); }
    static __m128d sub(__m128d a, __m128d b) { return _mm_sub_pd(a, b); }
    static __m128d mul(__m128d a, __m128d b) { return _mm_mul_pd(a, b); }
    static __m128d sqrt(__m128d v) { return _mm_sqrt_pd(v); }
    static void sincos(__m128d v, double* sines, double* cosines) {
        const auto both = Sleef_sincosd2_u10sse2(v); // 1-ulp; x holds the sine, y the cosine
        _mm_store_pd(sines, both.x);
        _mm_store_pd(cosines, both.y);
    }
};
} // namespace

void evaluateChainSse2(const ChainInput& in, ChainPens& pens) {
    evaluateWith<Sse2>(in, pens);
}

} // namespace velmora::detail
