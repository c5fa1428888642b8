// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Two lanes of double on WebAssembly SIMD, as the chain kernel and its sine and cosine use
// them; compiled only with -msimd128. The tests hold these very sines to long double.
#pragma once

#include "vector_sincos.h"

#include <wasm_simd128.h>

namespace velmora::detail {

namespace {
struct WasmSimd {
    using type = v128_t;
    static constexpr int width = 2;
    static v128_t broadcast(double v) { return wasm_f64x2_splat(v); }
    static v128_t broadcastFrom(const double* p) { return wasm_v128_load64_splat(p); }
    static v128_t load(const double* p) { return wasm_v128_load(p); }
    static void store(double* p, v128_t v) { wasm_v128_store(p, v); }
    static v128_t add(v128_t a, v128_t b) { return wasm_f64x2_add(a, b); }
    static v128_t sub(v128_t a, v128_t b) { return wasm_f64x2_sub(a, b); }
    static v128_t mul(v128_t a, v128_t b) { return wasm_f64x2_mul(a, b); }
    static v128_t sqrt(v128_t v) { return wasm_f64x2_sqrt(v); }
    static v128_t nearest(v128_t v) { return wasm_f64x2_nearest(v); }
    static bool allWithin(v128_t v, v128_t bound) {
        return wasm_i64x2_all_true(wasm_f64x2_le(wasm_f64x2_abs(v), bound));
    }
    static void placeQuadrant(v128_t n, v128_t s, v128_t c, double* sines, double* cosines) {
        // Adding 1.5 · 2^52 puts the whole number n, two's complement, in the low mantissa bits.
        const v128_t q = wasm_f64x2_add(n, broadcast(0x1.8p52));
        const v128_t one = wasm_i64x2_splat(1);
        const v128_t two = wasm_i64x2_splat(2);
        const v128_t oddBit = wasm_v128_and(q, one);
        const v128_t odd = wasm_i64x2_eq(oddBit, one);
        // Sine negated in quadrants 2 and 3, cosine in 1 and 2: bit 1 of q, of q + 1.
        const v128_t sinSign = wasm_i64x2_shl(wasm_v128_and(q, two), 62);
        const v128_t cosSign = wasm_v128_xor(sinSign, wasm_i64x2_shl(oddBit, 63));
        store(sines, wasm_v128_xor(wasm_v128_bitselect(c, s, odd), sinSign));
        store(cosines, wasm_v128_xor(wasm_v128_bitselect(s, c, odd), cosSign));
    }
    static void sincos(v128_t v, double* sines, double* cosines) {
        sincosWith<WasmSimd>(v, sines, cosines);
    }
};
} // namespace

} // namespace velmora::detail
