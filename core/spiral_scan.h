// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The detector scan's pace: 221 points from the bottom of the detector line to its top, each
// preceded by the animation brake's wait.
#pragma once

#include <chrono>
#include <cstdint>

namespace velmora {

// What one unit of the busy-wait count waits. Real time, not loop turns, so the scroll bar's
// speeds do not depend on the CPU: 983011 units make 17.7 ms a step, 3.9 s a run, under the
// 5 s after which desktops call a window unresponsive.
inline constexpr std::chrono::nanoseconds brakeUnit{18};

// The wait the brake wants before a scan step: its busy-wait count and the time it stands for.
struct Brake {
    std::uint32_t count = 0;
    std::chrono::nanoseconds wait() const { return count * brakeUnit; }
};

// A step followed by a wait at least this long reaches the screen before the wait begins. With
// shorter waits, steps come faster than a display refreshes and are shown in groups.
inline constexpr std::chrono::nanoseconds perceptibleWait = std::chrono::milliseconds(1);

// The scan's detector points, bottom to top, in twips up from the scene's bottom; a spiral is
// drawn at every multiple of spiralEvery.
inline constexpr int firstScanY = 500, lastScanY = 6000, scanStep = 25, spiralEvery = 500;
inline constexpr int scanPoints = (lastScanY - firstScanY) / scanStep + 1;

// The animation brake for a thread that may block: spins on `clock` until count × brakeUnit
// have passed, handling no event and never sleeping. The deadline is taken once, so the
// clock's own cost is not added per unit; a count of 0 reads no clock. `Clock` is steady_clock
// in the program, a fake in tests.
template <class Clock> void busyWait(std::uint32_t count, Clock& clock) {
    if (count == 0)
        return;
    const auto deadline = clock.now() + count * brakeUnit;
    while (clock.now() < deadline) {
    }
}

void busyWait(std::uint32_t count);

} // namespace velmora
