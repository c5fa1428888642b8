// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene.h"

#include "run_time_error.h"

namespace velmora::scene {

namespace {
void line(DrawingSurface& s, double x1, double y1, double x2, double y2,
          std::optional<Colour> colour = std::nullopt) {
    s.Line(toSingle(x1), toSingle(y1), toSingle(x2), toSingle(y2), colour);
}
} // namespace

void drawSource(DrawingSurface& s) {
    s.setScaleMode(ScaleMode::Twips);
    s.setScaleMode(ScaleMode::Pixels);
    // The erase band is in pixels and keeps whatever pen width the last run left.
    for (int i = 40; i <= 650; ++i)
        s.Line(5, float(i), 800, float(i), colours::lightGrey);
    s.setScaleMode(ScaleMode::Twips);

    s.setDrawWidth(2);
    s.setFillColor(colours::captionText);
    s.setFillStyle(FillStyle::Solid);
    s.Circle(float(collimatorX - 800), float(axisY), 100);
    s.setDrawWidth(1);
}

void drawApparatus(DrawingSurface& s, double detectorX, double halfOpening) {
    for (int i = 1; i <= 6000; i += 10) {
        line(s, collimatorX - 800, axisY, apertureX - 1000, sceneBottom - i, colours::paleCyan);
        line(s, collimatorX, sceneBottom - i, apertureX, sceneBottom - i, colours::paleCyan);
    }
    for (int i = 1; i <= halfOpening; ++i) {
        line(s, apertureX, axisY - i, apertureX + 100, axisY - i, colours::paleCyan);
        line(s, apertureX, axisY + i, apertureX + 100, axisY + i, colours::paleCyan);
    }

    s.setDrawWidth(2);
    line(s, apertureX, sceneTop, apertureX, axisY - halfOpening);
    line(s, apertureX, sceneBottom, apertureX, axisY + halfOpening);
    line(s, detectorX, sceneTop, detectorX, sceneBottom);
    s.setDrawWidth(1);
    line(s, plotX, sceneTop, plotX, sceneBottom);

    for (int i = 1; i <= 6100; i += 500)
        line(s, apertureX, axisY, detectorX, sceneBottom - i, colours::paleCyan);
}

} // namespace velmora::scene
