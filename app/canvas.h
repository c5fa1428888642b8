// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A DrawingSurface over an image that keeps every pixel until something paints over it.
// Twips map to logical pixels as the form says; the image carries the screen's device pixel
// ratio so lines stay crisp on high-DPI screens.
#pragma once

#include "drawing_surface.h"
#include "form.h"

#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class QBrush;
class QPainter;
class QPen;

namespace velmora {

class Canvas : public DrawingSurface {
public:
    // Throws RunTimeError "Out of memory" when the image cannot be allocated.
    explicit Canvas(QSize logicalSize, qreal devicePixelRatio = 1.0,
                    Colour background = colours::lightGrey);
    ~Canvas() override;

    // Called by present() with the logical rectangle drawn since the last call.
    void setPresenter(std::function<void(const QRect&)> presenter);

    // The picture, with every pending primitive painted.
    const QImage& image();
    static QColor toQColor(Colour colour);

    void setScaleMode(ScaleMode mode) override;
    void setDrawWidth(int pixels) override;
    void setFillColor(Colour colour) override;
    void setFillStyle(FillStyle style) override;
    using DrawingSurface::Line;
    void Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override;
    void Circle(float x, float y, float radius) override;
    void present() override;

private:
    double toPixels(float v) const {
        return m_scaleMode == ScaleMode::Twips ? v / form::twipsPerPixel : v;
    }
    void flushLines();
    bool drawCircleSprite(QPointF centre, double radius, const QPen& pen, const QBrush& brush);
    void touch(double x1, double y1, double x2, double y2, int penWidth);
    void resetDirty();
    QPainter& painter();

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    int m_drawWidth = 1;
    Colour m_fillColor = 0;
    FillStyle m_fillStyle = FillStyle::Transparent;

    // Lines are drawn in batches that share a pen: same pixels, far fewer painter calls.
    std::vector<QLineF> m_pending;
    Colour m_pendingColour = 0;
    int m_pendingWidth = 1;

    // Small circles already stroked, by sub-pixel offset and drawing state.
    struct CircleKey {
        double fractionX, fractionY;
        int exponentX, exponentY;
        double radius;
        int drawWidth;
        FillStyle fillStyle;
        Colour fillColor;
        bool operator==(const CircleKey&) const = default;
    };
    struct CircleSprite {
        CircleKey key;
        QImage image;
    };
    std::vector<CircleSprite> m_circleSprites;

    double m_dirtyLeft, m_dirtyTop, m_dirtyRight, m_dirtyBottom; // logical px
    std::function<void(const QRect&)> m_presenter;
};

} // namespace velmora
