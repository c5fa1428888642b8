// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A DrawingSurface that writes each call as 32-bit words for the page to replay on its canvas:
// one crossing into JavaScript per animation frame instead of one per line. Coordinates keep
// their exact single-precision bits. The page's replay in page/velmora.js reads this format.
#pragma once

#include "drawing_surface.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace velmora::web {

enum class Op : std::uint32_t {
    ScaleMode = 1,
    DrawWidth,
    FillColor,
    FillStyle,
    Line,         // x1 y1 x2 y2, in the foreground colour
    ColouredLine, // x1 y1 x2 y2 colour
    Circle,       // x y radius
    Present,
};

class CommandRecorder final : public DrawingSurface {
public:
    // An instant run records about 150,000 words in one go: room for them from the start saves
    // copying the buffer each time it grows.
    CommandRecorder() { m_words.reserve(std::size_t(1) << 18); }

    const std::vector<std::uint32_t>& words() const { return m_words; }
    void clear() { m_words.clear(); }

    void setScaleMode(ScaleMode mode) override { put(Op::ScaleMode, std::uint32_t(mode)); }
    void setDrawWidth(int pixels) override { put(Op::DrawWidth, std::uint32_t(pixels)); }
    void setFillColor(Colour colour) override { put(Op::FillColor, colour); }
    void setFillStyle(FillStyle style) override { put(Op::FillStyle, std::uint32_t(style)); }
    void Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override {
        put(colour ? Op::ColouredLine : Op::Line, bits(x1), bits(y1), bits(x2), bits(y2));
        if (colour)
            m_words.push_back(*colour);
    }
    void Circle(float x, float y, float radius) override {
        put(Op::Circle, bits(x), bits(y), bits(radius));
    }
    void present() override { put(Op::Present); }

private:
    // libc++ 13 has no std::bit_cast.
    static std::uint32_t bits(float v) {
        std::uint32_t w;
        std::memcpy(&w, &v, sizeof w);
        return w;
    }
    template <class... Words> void put(Op op, Words... operands) {
        m_words.push_back(std::uint32_t(op));
        (m_words.push_back(operands), ...);
    }

    std::vector<std::uint32_t> m_words;
};

} // namespace velmora::web
