// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run's drawing calls as SVG elements, with the pens the canvases use, and the few text
// forms SVG needs: numbers written the same in every locale and on every front end, colours,
// and text escaped for XML.
#pragma once

#include "drawing_surface.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora::svg {

// At most three decimals, with a point, whatever the process's locale.
std::string number(double value);
// "#rrggbb", as the colour shows.
std::string colour(Colour c);
// Markup characters as entities; control characters, which XML cannot hold, left out.
std::string escaped(std::string_view utf8);

// Appends to `out`. Lines drawn end to end with one pen become one path, as a spiral is two
// thousand of them; what is still open is written by flush() or the destructor.
class SvgSurface final : public DrawingSurface {
public:
    explicit SvgSurface(std::string& out) : m_out(out) {}
    ~SvgSurface() override { flush(); }
    void flush();

    void setScaleMode(ScaleMode mode) override { m_scaleMode = mode; }
    void setDrawWidth(int pixels) override { m_drawWidth = pixels; }
    void setFillColor(Colour colour) override { m_fillColor = colour; }
    void setFillStyle(FillStyle style) override { m_fillStyle = style; }
    using DrawingSurface::Line;
    void Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override;
    void Circle(float x, float y, float radius) override;

private:
    double toPixels(float v) const;

    std::string& m_out;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    int m_drawWidth = 1;
    Colour m_fillColor = 0;
    FillStyle m_fillStyle = FillStyle::Transparent;
    // The open path: its pen, and where its last line ended.
    std::string m_path;
    Colour m_pathColour = 0;
    int m_pathWidth = 0;
    std::string m_end;
};

} // namespace velmora::svg
