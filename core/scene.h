// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The optical scene: its fixed geometry in twips and the static drawing that opens every run.
#pragma once

#include "drawing_surface.h"

namespace velmora::scene {

constexpr double collimatorX = 2500; // source rays end, parallel beam begins
constexpr double axisY = 3500;       // optical axis
constexpr double halfAperture = 1000;
constexpr double apertureX = collimatorX + 1000; // the diaphragm plane
constexpr double sceneTop = 1500;
constexpr double sceneBottom = 7500;
constexpr double plotX = 7500; // base line of the intensity bars

// Wipes the band and draws the source: what a run draws before it knows its distance.
void drawSource(DrawingSurface& surface);
// The rest: beam, opening, diaphragm, detector line at detectorX, plot axis and ray fan, for an
// opening that reaches halfOpening either side of the axis.
void drawApparatus(DrawingSurface& surface, double detectorX, double halfOpening);

} // namespace velmora::scene
