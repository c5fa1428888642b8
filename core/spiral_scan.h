// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The detector scan: 221 points from the bottom of the detector line to its top, each
// preceded by the animation brake's wait.
#pragma once

#include "brake.h"
#include "scene.h"

namespace velmora {

// The scan's detector points, bottom to top, in twips up from the scene's bottom; a spiral is
// drawn at every multiple of spiralEvery.
inline constexpr int firstScanY = 500, lastScanY = 6000, scanStep = 25, spiralEvery = 500;
inline constexpr int scanPoints = (lastScanY - firstScanY) / scanStep + 1;

// The detector point of scan step `index` (0 for the first), in twips down from the top.
constexpr int scanPointY(int index) {
    return int(scene::sceneBottom) - firstScanY - index * scanStep;
}

} // namespace velmora
