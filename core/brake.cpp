// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "brake.h"

#include <thread>

namespace velmora {

void brakeWait(std::chrono::nanoseconds wait) {
    std::chrono::steady_clock clock;
    auto sleep = [](std::chrono::nanoseconds d) { std::this_thread::sleep_for(d); };
    brakeWait(wait, clock, sleep);
}

} // namespace velmora
