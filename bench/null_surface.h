// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A surface and a label board that draw and show nothing: the Start action's cost alone.
#pragma once

#include "drawing_surface.h"
#include "result_labels.h"

namespace velmora {

struct NullSurface : DrawingSurface {
    void setScaleMode(ScaleMode) override {}
    void setDrawWidth(int) override {}
    void setFillColor(Colour) override {}
    void setFillStyle(FillStyle) override {}
    using DrawingSurface::Line;
    void Line(float, float, float, float, std::optional<Colour>) override {}
    void Circle(float, float, float) override {}
};

struct NullLabels : LabelBoard {
    void showLabel(ResultLabel, float, float) override {}
};

} // namespace velmora
