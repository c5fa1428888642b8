// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "svg_surface.h"

#include "form.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace velmora::svg {

std::string number(double value) {
    // In thousandths, by integers: no printf, whose decimal point is the process locale's.
    if (!std::isfinite(value))
        return "0";
    value = std::clamp(value, -1e12, 1e12); // far beyond any picture, within a long long
    const long long thousandths = std::llround(value * 1000);
    const unsigned long long magnitude = std::llabs(thousandths);
    std::string text = thousandths < 0 ? "-" : "";
    text += std::to_string(magnitude / 1000);
    if (const unsigned long long fraction = magnitude % 1000) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += "." + digits;
    }
    return text;
}

std::string colour(Colour c) {
    const std::uint32_t rgb = displayRgb(c);
    const char* hex = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += hex[rgb >> shift & 0xF];
    return text;
}

std::string escaped(std::string_view utf8) {
    std::string text;
    for (const char c : utf8) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '"':
            text += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t')
                text += c;
        }
    }
    return text;
}

double SvgSurface::toPixels(float v) const {
    return m_scaleMode == ScaleMode::Twips ? v / form::twipsPerPixel : v;
}

void SvgSurface::Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) {
    const Colour pen = colour.value_or(colours::buttonText);
    const std::string from = number(toPixels(x1)) + " " + number(toPixels(y1));
    if (m_path.empty() || pen != m_pathColour || m_drawWidth != m_pathWidth) {
        flush();
        m_pathColour = pen;
        m_pathWidth = m_drawWidth;
    }
    // After a moveto, further pairs are lines.
    if (m_path.empty() || from != m_end)
        m_path += (m_path.empty() ? "M" : " M") + from;
    m_end = number(toPixels(x2)) + " " + number(toPixels(y2));
    m_path += " " + m_end;
}

void SvgSurface::Circle(float x, float y, float radius) {
    flush();
    m_out += "<circle cx=\"" + number(toPixels(x)) + "\" cy=\"" + number(toPixels(y)) + "\" r=\"" +
             number(std::abs(toPixels(radius))) + "\" fill=\"" +
             (m_fillStyle == FillStyle::Solid ? colour(m_fillColor) : "none") + "\" stroke=\"" +
             colour(colours::buttonText) + "\" stroke-width=\"" + std::to_string(m_drawWidth) +
             "\"/>\n";
}

void SvgSurface::flush() {
    if (m_path.empty())
        return;
    // Wider pens are round at their ends, as on the canvases.
    m_out += "<path stroke=\"" + colour(m_pathColour) + "\" stroke-width=\"" +
             std::to_string(m_pathWidth) + "\" stroke-linecap=\"" +
             (m_pathWidth > 1 ? "round" : "square") + "\" d=\"" + m_path + "\"/>\n";
    m_path.clear();
}

} // namespace velmora::svg
