// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chain kernel on AVX-512F, compiled for that instruction set alone and entered only through
// the dispatcher once the CPU has been seen to support it.
#include "phasor_kernel_impl.h"

#include <immintrin.h>
#include <sleef.h>

namespace velmora::detail {

namespace {
struct Avx512 {
    static constexpr int width = 8;
    static __m512d broadcast(double v) { return _mm512_set1_pd(v); }
    static __m512d load(const double* p) { return _mm512_load_pd(p); }
    static void store(double* p, __m512d v) { _mm512_store_pd(p, v); }
    static __m512d add(__m512d a, __m512d b) { return _mm512_add_pd(a, b); }
    static __m512d sub(__m512d a, __m512d b) { return _mm512_sub_pd(a, b); }
    static __m512d mul(__m512d a, __m512d b) { return _mm512_mul_pd(a, b); }
    // All lanes kept: GCC 12 warns of the undefined source inside _mm512_sqrt_pd.
    static __m512d sqrt(__m512d v) { return _mm512_mask_sqrt_pd(v, 0xFF, v); }
    static void sincos(__m512d v, double* sines, double* cosines) {
        const auto both = Sleef_sincosd8_u10avx512f(v); // 1-ulp; x holds the sine, y the cosine
        _mm512_store_pd(sines, both.x);
        _mm512_store_pd(cosines, both.y);
    }
};
} // namespace

void evaluateChainAvx512(const ChainInput& in, ChainPens& pens) {
    evaluateWith<Avx512>(in, pens);
}

} // namespace velmora::detail
