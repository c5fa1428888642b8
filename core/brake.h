// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The animation brake before each scan step: its busy-wait count stands for real time, which
// the desktop waits on its thread and the page spreads over animation frames.
#pragma once

#include <chrono>
#include <cstdint>

namespace velmora {

// What one unit of the count waits. Real time, not loop turns, so the scroll bar's speeds do
// not depend on the CPU: 983011 units make 17.7 ms a step, 3.9 s a run, under the 5 s after
// which desktops call a window unresponsive.
inline constexpr std::chrono::nanoseconds brakeUnit{18};

struct Brake {
    std::uint32_t count = 0;
    std::chrono::nanoseconds wait() const { return count * brakeUnit; }
};

// A step followed by a wait at least this long reaches the screen before the wait begins. With
// shorter waits, steps come faster than a display refreshes and are shown in groups.
inline constexpr std::chrono::nanoseconds perceptibleWait = std::chrono::milliseconds(1);

// Under this much time left, a sleep could wake after the deadline: the rest is spun.
inline constexpr std::chrono::nanoseconds brakeSpinBelow = std::chrono::microseconds(200);

// Waits `wait` on `clock`, handling no event. Sleeps for half of what is left at a time, so a
// wake-up that comes late still lands before the deadline, then spins the last stretch.
// Nothing to wait reads no clock. `Clock` and `Sleeper` are steady_clock and sleep_for in the
// program, fakes in tests.
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
