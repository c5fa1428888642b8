// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "start_action.h"

#include "phasor_kernel.h"
#include "presets.h"
#include "scene.h"
#include "spiral_scan.h"

namespace velmora {

RunReport runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         const QLocale& locale) {
    clearUpperVectorState(); // see phasor_kernel.cpp: the scene's drawing is scalar code too
    RunReport report;
    report.detectorX = scene::drawScene(surface, store, locale);
    report.distanceCaption = store.nRozteč();
    const QString fi = store.nFi();
    const Frequency frequency = frequencyFor(fi, locale);
    report.frequencyCaption = frequencyCaptionFor(fi, locale);
    report.intensities = runScan(surface, store, report.detectorX, frequency, locale);
    placeResultLabels(labels, report.detectorX);
    return report;
}

} // namespace velmora
