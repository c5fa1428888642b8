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

#include <cstdint>
#include <vector>

namespace velmora {

// The animation brake: exactly `count` empty decrements, kept by the optimiser.
void busyWait(std::uint32_t count);

// Returns the length of every bar drawn, in twips, bottom to top.
std::vector<double> runScan(DrawingSurface& surface, const ParameterStore& store, double detectorX,
                            Frequency frequency, const QLocale& locale = QLocale());

} // namespace velmora
