// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "start_action.h"

#include "presets.h"
#include "scene.h"
#include "spiral_scan.h"

namespace velmora {

void runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                    const QLocale& locale) {
    const double detectorX = scene::drawScene(surface, store, locale);
    const Frequency frequency = frequencyFor(store.nFi(), locale);
    runScan(surface, store, detectorX, frequency, locale);
    placeResultLabels(labels, detectorX);
}

} // namespace velmora
