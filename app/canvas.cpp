// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "canvas.h"

#include "run_time_error.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {
// A whole pixel index, held far outside the image but within int whatever was drawn.
int pixelIndex(double v) {
    return int(std::clamp(v, -1e7, 1e7));
}
} // namespace

QColor Canvas::toQColor(Colour colour) {
    return QColor::fromRgb(QRgb(displayRgb(colour)));
}

Canvas::Canvas(QSize logicalSize, qreal devicePixelRatio, Colour background)
    : m_image(logicalSize * devicePixelRatio, QImage::Format_RGB32) {
    if (m_image.isNull())
        throw RunTimeError::outOfMemory();
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(toQColor(background));
    resetDirty();
}

Canvas::~Canvas() = default;

void Canvas::setPresenter(std::function<void(const QRect&)> presenter) {
    m_presenter = std::move(presenter);
}

const QImage& Canvas::image() {
    flushLines();
    return m_image;
}

void Canvas::setScaleMode(ScaleMode mode) {
    m_scaleMode = mode;
}
void Canvas::setDrawWidth(int pixels) {
    m_drawWidth = pixels;
}
void Canvas::setFillColor(Colour colour) {
    m_fillColor = colour;
}
void Canvas::setFillStyle(FillStyle style) {
    m_fillStyle = style;
}

QPainter& Canvas::painter() {
    if (!m_painter)
        m_painter = std::make_unique<QPainter>(&m_image);
    return *m_painter;
}

void Canvas::touch(double x1, double y1, double x2, double y2, int penWidth) {
    // The union of each primitive's aligned box grown by margin, kept as bounds: the same
    // rectangle present() would get from uniting QRects, without the per-line QRect work.
    const double margin = penWidth + 1;
    m_dirtyLeft = std::min(m_dirtyLeft, std::min(x1, x2) - margin);
    m_dirtyTop = std::min(m_dirtyTop, std::min(y1, y2) - margin);
    m_dirtyRight = std::max(m_dirtyRight, std::max(x1, x2) + margin);
    m_dirtyBottom = std::max(m_dirtyBottom, std::max(y1, y2) + margin);
}

void Canvas::Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour) {
    // Compared raw: QColor conversion waits until a batch is painted.
    const Colour c = colour.value_or(colours::buttonText);
    if (!m_pending.empty() && (c != m_pendingColour || m_drawWidth != m_pendingWidth))
        flushLines();
    m_pendingColour = c;
    m_pendingWidth = m_drawWidth;
    const QLineF& l =
        m_pending.emplace_back(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2));
    touch(l.x1(), l.y1(), l.x2(), l.y2(), m_drawWidth);
}

void Canvas::flushLines() {
    if (m_pending.empty())
        return;
    QPainter& p = painter();
    QPen pen(toQColor(m_pendingColour), m_pendingWidth);
    if (m_pendingWidth > 1)
        pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    if (m_pendingWidth == 1 && m_image.devicePixelRatio() == 1) {
        // A one-pixel horizontal line covers the columns floor(x1)..floor(x2) of row floor(y),
        // pixel for pixel as the line rasteriser does it; a rectangle fill paints them at a
        // fraction of the cost. Within a batch every line has the same colour, so order is moot.
        const QColor colour = pen.color();
        const auto pixel = [](double v) { return pixelIndex(std::floor(v)); };
        const auto isRow = [](const QLineF& l) { return l.y1() == l.y2() && l.x1() != l.x2(); };
        for (const QLineF& l : m_pending) {
            if (isRow(l)) {
                const int left = pixel(std::min(l.x1(), l.x2()));
                const int right = pixel(std::max(l.x1(), l.x2()));
                p.fillRect(QRect(left, pixel(l.y1()), right - left + 1, 1), colour);
            }
        }
        std::erase_if(m_pending, isRow);
    }
    if (!m_pending.empty())
        p.drawLines(m_pending.data(), int(m_pending.size()));
    m_pending.clear();
}

void Canvas::Circle(float x, float y, float radius) {
    flushLines();
    const QPen pen(toQColor(colours::buttonText), m_drawWidth);
    const QBrush brush = m_fillStyle == FillStyle::Solid ? QBrush(toQColor(m_fillColor)) : QBrush();
    const QPointF centre(toPixels(x), toPixels(y));
    const double r = toPixels(radius);
    if (!drawCircleSprite(centre, r, pen, brush)) {
        QPainter& p = painter();
        p.setPen(pen);
        p.setBrush(brush);
        p.drawEllipse(centre, r, r);
    }
    touch(centre.x() - r, centre.y() - r, centre.x() + r, centre.y() + r, m_drawWidth);
}

// Stroking and filling a dot's tiny ellipse costs more than the rest of a scan step. Drawn
// again at the same sub-pixel offset, it rasterises to the same pixels shifted by whole
// pixels, provided every coordinate keeps its binary exponent: each rounding in the path, the
// stroke and the fill then falls the same way. So each offset is painted once, at its first
// place, into a sprite that is copied after; a run's 221 dots share a handful of offsets.
bool Canvas::drawCircleSprite(QPointF centre, double radius, const QPen& pen, const QBrush& brush) {
    constexpr int maxPad = 8;
    constexpr std::size_t maxSprites = 64;
    const int pad = int(std::ceil(radius + m_drawWidth)) + 2;
    if (m_image.devicePixelRatio() != 1 || !(radius >= 0) || pad > maxPad)
        return false;
    const double left = centre.x() - pad, right = centre.x() + pad;
    const double top = centre.y() - pad, bottom = centre.y() + pad;
    // Positive, so the shifted sprite coordinates truncate to fixed point as the originals do.
    if (!(left >= 1 && top >= 1 && right < 1e7 && bottom < 1e7) ||
        std::ilogb(left) != std::ilogb(right) || std::ilogb(top) != std::ilogb(bottom))
        return false;
    const double wholeX = std::floor(centre.x()), wholeY = std::floor(centre.y());
    const CircleKey key{
        centre.x() - wholeX, centre.y() - wholeY, std::ilogb(left), std::ilogb(top), radius,
        m_drawWidth,         m_fillStyle,         m_fillColor};
    const QPoint origin(int(wholeX) - pad, int(wholeY) - pad);
    auto it = std::ranges::find(m_circleSprites, key, &CircleSprite::key);
    if (it == m_circleSprites.end()) {
        if (m_circleSprites.size() == maxSprites)
            m_circleSprites.clear();
        QImage sprite(2 * pad + 1, 2 * pad + 1, QImage::Format_ARGB32_Premultiplied);
        if (sprite.isNull())
            return false;
        sprite.fill(Qt::transparent);
        QPainter p(&sprite);
        p.translate(-origin.x(), -origin.y());
        p.setPen(pen);
        p.setBrush(brush);
        p.drawEllipse(centre, radius, radius);
        p.end();
        m_circleSprites.push_back({key, std::move(sprite)});
        it = m_circleSprites.end() - 1;
    }
    // Every colour is opaque: each sprite pixel either replaces the canvas pixel or leaves it.
    painter().drawImage(origin, it->image);
    return true;
}

void Canvas::present() {
    flushLines();
    QRect dirty;
    if (m_dirtyLeft <= m_dirtyRight) {
        const int left = pixelIndex(std::floor(m_dirtyLeft));
        const int top = pixelIndex(std::floor(m_dirtyTop));
        dirty = QRect(left, top, pixelIndex(std::ceil(m_dirtyRight)) - left,
                      pixelIndex(std::ceil(m_dirtyBottom)) - top);
    }
    resetDirty();
    if (m_presenter && !dirty.isEmpty())
        m_presenter(dirty);
}

void Canvas::resetDirty() {
    m_dirtyLeft = m_dirtyTop = std::numeric_limits<double>::infinity();
    m_dirtyRight = m_dirtyBottom = -std::numeric_limits<double>::infinity();
}

} // namespace velmora
