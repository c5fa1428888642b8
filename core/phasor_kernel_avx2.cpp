// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chain kernel on AVX2 with FMA, compiled for that instruction set alone and entered only
// through the dispatcher once the CPU has been seen to support it.
#include "phasor_kernel_impl.h"

#include <immintrin.h>
#include <sleef.h>

namespace velmora::detail {

namespace {
struct Avx2 {
    static constexpr int width = 4;
    static __m256d broadcast(double v) { return _mm256_set1_pd(v); }
    static __m256d load(const double* p) { return _mm256_load_pd(p); }
    static void store(double* p, __m256d v) { _mm256_store_pd(p, v); }
    static __m256d add(__m256d a, __m256d b) { return _mm256_add_pd(a, b); }
    static __m256d sub(__m256d a, __m256d b) { return _mm256_sub_pd(a, b); }
    static __m256d mul(__m256d a, __m256d b) { return _mm256_mul_pd(a, b); }
    static __m256d sqrt(__m256d v) { return _mm256_sqrt_pd(v); }
    static void sincos(__m256d v, double* sines, double* cosines) {
        const auto both = Sleef_sincosd4_u10avx2(v); // 1-ulp; x holds the sine, y the cosine
        _mm256_store_pd(sines, both.x);
        _mm256_store_pd(cosines, both.y);
    }
};
} // namespace

void evaluateChainAvx2(const ChainInput& in, ChainPens& pens) {
    evaluateWith<Avx2>(in, pens);
}

} // namespace velmora::detail
