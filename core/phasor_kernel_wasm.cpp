// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chain kernel on WebAssembly SIMD, with sines and cosines of its own: the only file of
// the browser build compiled with -msimd128.
#include "phasor_kernel_wasm.h"
#include "phasor_kernel_impl.h"

namespace velmora::detail {

void evaluateChainWasm(const ChainInput& in, ChainPens& pens) {
    evaluateWith<WasmSimd>(in, pens);
}

} // namespace velmora::detail
