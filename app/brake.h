// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop's brake between scan steps: it waits real time without keeping a core busy.
#pragma once

#include <chrono>

namespace velmora {

// Under this much time left, a sleep could wake after the deadline: the rest is spun.
inline constexpr std::chrono::nanoseconds brakeSpinBelow = std::chrono::microseconds(200);

// Waits `wait` on `clock`. Sleeps for half of what is left at a time, so a wake-up that comes
// late still lands before the deadline, then spins the last stretch. Nothing to wait reads no
// clock. `Clock` and `Sleeper` are steady_clock and sleep_for in the program, fakes in tests.
template <class Clock, class Sleeper>
void brakeWait(std::chrono::nanoseconds wait, Clock& clock, Sleeper& sleep) {
    if (wait <= wait.zero())
        return;
    const auto deadline = clock.now() + wait;
    for (auto left = deadline - clock.now(); left > left.zero(); left = deadline - clock.now()) {
        if (left >= brakeSpinBelow)
            sleep(std::chrono::duration_cast<std::chrono::nanoseconds>(left / 2));
    }
}

// On the steady clock, sleeping through the thread's sleep.
void brakeWait(std::chrono::nanoseconds wait);

} // namespace velmora
