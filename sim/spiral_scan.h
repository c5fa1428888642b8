// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The detector scan: 221 points from the bottom of the detector line to its top, each with
// its busy-wait, its phasor chain (drawn every 500 twips), a dot and an intensity bar.
#pragma once

#include "drawing_surface.h"
#include "parameter_store.h"
#include "presets.h"

#include <QLocale>

#include <chrono>
#include <cstdint>
#include <vector>

namespace velmora {

// What one unit of the busy-wait count waits. Real time, not loop turns, so the scroll bar's
// speeds do not depend on the CPU: 983011 units make 17.7 ms a step, 3.9 s a run, under the
// 5 s after which desktops call a window unresponsive.
inline constexpr std::chrono::nanoseconds brakeUnit{18};

// The animation brake: spins on `clock` until count × brakeUnit have passed, handling no event
// and never sleeping. The deadline is taken once, so the clock's own cost is not added per
// unit; a count of 0 reads no clock. `Clock` is steady_clock in the program, a fake in tests.
template <class Clock> void busyWait(std::uint32_t count, Clock& clock) {
    if (count == 0)
        return;
    const auto deadline = clock.now() + count * brakeUnit;
    while (clock.now() < deadline) {
    }
}

// On the steady clock, or through the brake a front end has installed instead.
void busyWait(std::uint32_t count);

// A wait of the front end's own, given the time count × brakeUnit; null restores the spin.
using Brake = void (*)(std::chrono::nanoseconds wait);
void setBrake(Brake brake);

// A step followed by a wait at least this long reaches the screen before the wait begins. With
// shorter waits, steps come faster than a display refreshes and are shown in groups.
inline constexpr std::chrono::nanoseconds perceptibleWait = std::chrono::milliseconds(1);

// Returns the length of every bar drawn, in twips, bottom to top.
std::vector<double> runScan(DrawingSurface& surface, const ParameterStore& store, double detectorX,
                            Frequency frequency, const QLocale& locale = QLocale());

} // namespace velmora
