// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test doubles for the Start action: a DrawingSurface that keeps every call together with the
// drawing state in force at that call, and a LabelBoard that keeps every label it is told to show.
#pragma once

#include "drawing_surface.h"
#include "result_labels.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <vector>

namespace velmora::testing {

// Starts as a freshly loaded window does: twips, 1 pixel, black, transparent fill.
struct DrawState {
    ScaleMode scaleMode = ScaleMode::Twips;
    int drawWidth = 1;
    Colour fillColor = 0;
    FillStyle fillStyle = FillStyle::Transparent;
    bool operator==(const DrawState&) const = default;
};

struct SurfaceCall {
    enum class Kind { ScaleMode, DrawWidth, FillColor, FillStyle, Line, Circle, Present };
    Kind kind;
    // Line: x1 y1 x2 y2; Circle: x y radius; property writes: the value written, in x1.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::optional<Colour> colour; // Line only
    DrawState state;              // in force when the call was made, after a property write
    bool operator==(const SurfaceCall&) const = default;

    bool isLine() const { return kind == Kind::Line; }
    bool isCircle() const { return kind == Kind::Circle; }
    float radius() const { return x2; }
};

class RecordingSurface : public DrawingSurface {
public:
    explicit RecordingSurface(DrawState initial = {}) : m_state(initial) {}

    std::vector<SurfaceCall> calls;
    int nonFiniteArguments = 0; // a primitive should never see an infinity or NaN

    const DrawState& state() const { return m_state; }

    void setScaleMode(ScaleMode mode) override {
        m_state.scaleMode = mode;
        property(SurfaceCall::Kind::ScaleMode, float(mode));
    }
    void setDrawWidth(int pixels) override {
        m_state.drawWidth = pixels;
        property(SurfaceCall::Kind::DrawWidth, float(pixels));
    }
    void setFillColor(Colour colour) override {
        m_state.fillColor = colour;
        property(SurfaceCall::Kind::FillColor, float(colour));
    }
    void setFillStyle(FillStyle style) override {
        m_state.fillStyle = style;
        property(SurfaceCall::Kind::FillStyle, float(style));
    }
    using DrawingSurface::Line;
    void Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override {
        check({x1, y1, x2, y2});
        calls.push_back({SurfaceCall::Kind::Line, x1, y1, x2, y2, colour, m_state});
    }
    void Circle(float x, float y, float radius) override {
        check({x, y, radius});
        calls.push_back({SurfaceCall::Kind::Circle, x, y, radius, 0, std::nullopt, m_state});
    }
    void present() override {
        calls.push_back({SurfaceCall::Kind::Present, 0, 0, 0, 0, std::nullopt, m_state});
    }

private:
    void property(SurfaceCall::Kind kind, float value) {
        calls.push_back({kind, value, 0, 0, 0, std::nullopt, m_state});
    }
    void check(std::initializer_list<float> values) {
        for (float v : values) {
            if (!std::isfinite(v))
                ++nonFiniteArguments;
        }
    }

    DrawState m_state;
};

struct ShownLabel {
    ResultLabel label;
    float left, top;
    std::size_t surfaceCallsBefore; // how much had been drawn when the label appeared
    bool operator==(const ShownLabel&) const = default;
};

class RecordingLabelBoard : public LabelBoard {
public:
    explicit RecordingLabelBoard(const RecordingSurface* surface = nullptr) : m_surface(surface) {}

    std::vector<ShownLabel> shown;

    void showLabel(ResultLabel label, float left, float top) override {
        shown.push_back({label, left, top, m_surface ? m_surface->calls.size() : 0});
    }

private:
    const RecordingSurface* m_surface;
};

} // namespace velmora::testing
