// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spiral_scan.h"

namespace velmora {

void busyWait(std::uint32_t count) {
    std::chrono::steady_clock clock;
    busyWait(count, clock);
}

} // namespace velmora
