// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The surface the Start action draws on: a little drawing state and two primitives,
// with coordinates in twips or pixels as the scale mode says.
#pragma once

#include <cstdint>
#include <optional>

namespace velmora {

// 0x00BBGGRR; with the top bit set, the low byte names a system colour by index.
using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b) {
    return Colour(r & 0xFF) | Colour(g & 0xFF) << 8 | Colour(b & 0xFF) << 16;
}

namespace colours {
constexpr Colour lightGrey = 0x00C0C0C0;
constexpr Colour paleCyan = 0x00FFFFC0;
constexpr Colour green = rgb(0, 255, 0);
constexpr Colour red = rgb(255, 0, 0); // the theory curve
constexpr Colour captionText = 0x80000009;
constexpr Colour buttonText = 0x80000012; // the window's default foreground
} // namespace colours

// 0xRRGGBB as every front end shows the colour. System colours follow today's default desktop
// scheme for those the program can meet; text colours, the caption text among them, are black.
constexpr std::uint32_t displayRgb(Colour c) {
    if (!(c & 0x80000000u))
        return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    switch (c & 0xFF) {
    case 5:  // window
    case 14: // highlighted text
        return 0xFFFFFF;
    case 15: // button face
        return 0xF0F0F0;
    default:
        return 0x000000;
    }
}

enum class ScaleMode : int { Twips = 1, Pixels = 3 };
enum class FillStyle : int { Solid = 0, Transparent = 1 };

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void setScaleMode(ScaleMode mode) = 0;
    virtual void setDrawWidth(int pixels) = 0;
    virtual void setFillColor(Colour colour) = 0;
    virtual void setFillStyle(FillStyle style) = 0;

    // Without a colour the line takes the foreground colour.
    virtual void Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) = 0;
    void Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, std::nullopt); }

    // Outlined in the foreground colour at the current width; filled while the fill is solid.
    virtual void Circle(float x, float y, float radius) = 0;

    // A scan step is complete: whatever shows the surface should show it now.
    virtual void present() {}
};

// Draws nothing: for a run whose numbers alone are wanted.
struct NullSurface : DrawingSurface {
    void setScaleMode(ScaleMode) override {}
    void setDrawWidth(int) override {}
    void setFillColor(Colour) override {}
    void setFillStyle(FillStyle) override {}
    void Line(float, float, float, float, std::optional<Colour>) override {}
    void Circle(float, float, float) override {}
};

} // namespace velmora
