#include "canvas.h"

#include "run_time_error.h"

#include <QPainter>

#include <array>
#include <cmath>

namespace velmora {

namespace {
QColor fromBgr(Colour c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

// Today's default desktop scheme for the system colours the program can meet; text colours,
// the caption text among them, are black.
QColor systemColour(unsigned index)
{
    switch (index) {
    case 5: // window
    case 14: // highlighted text
        return Qt::white;
    case 15: // button face
        return QColor(0xF0, 0xF0, 0xF0);
    default:
        return Qt::black;
    }
}
} // namespace

QColor Canvas::toQColor(Colour colour)
{
    return colour & 0x80000000u ? systemColour(colour & 0xFFu) : fromBgr(colour);
}

Canvas::Canvas(QSize logicalSize, qreal devicePixelRatio, Colour background)
    : m_image(logicalSize * devicePixelRatio, QImage::Format_RGB32)
{
    if (m_image.isNull())
        throw RunTimeError::outOfMemory();
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(toQColor(background));
}

Canvas::~Canvas() = default;

void Canvas::setPresenter(std::function<void(const QRect&)> presenter)
{
    m_presenter = std::move(presenter);
}

const QImage& Canvas::image()
{
    flushLines();
    return m_image;
}

void Canvas::setScaleMode(ScaleMode mode) { m_scaleMode = mode; }
void Canvas::setDrawWidth(int pixels) { m_drawWidth = pixels; }
void Canvas::setFillColor(Colour colour) { m_fillColor = colour; }
void Canvas::setFillStyle(FillStyle style) { m_fillStyle = style; }

QPainter& Canvas::painter()
{
    if (!m_painter)
        m_painter = std::make_unique<QPainter>(&m_image);
    return *m_painter;
}

void Canvas::touch(const QRectF& area, int penWidth)
{
    const int margin = penWidth + 1;
    m_dirty |= area.normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

void Canvas::Line(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    const QColor c = toQColor(colour.value_or(colours::buttonText));
    if (!m_pending.empty() && (c != m_pendingColour || m_drawWidth != m_pendingWidth))
        flushLines();
    m_pendingColour = c;
    m_pendingWidth = m_drawWidth;
    const QLineF l(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2));
    m_pending.push_back(l);
    touch(QRectF(l.p1(), l.p2()), m_drawWidth);
}

void Canvas::flushLines()
{
    if (m_pending.empty())
        return;
    QPainter& p = painter();
    QPen pen(m_pendingColour, m_pendingWidth);
    if (m_pendingWidth > 1)
        pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLines(m_pending.data(), int(m_pending.size()));
    m_pending.clear();
}

void Canvas::Circle(float x, float y, float radius)
{
    flushLines();
    QPainter& p = painter();
    p.setPen(QPen(toQColor(colours::buttonText), m_drawWidth));
    p.setBrush(m_fillStyle == FillStyle::Solid ? QBrush(toQColor(m_fillColor)) : QBrush());
    const QPointF centre(toPixels(x), toPixels(y));
    const double r = toPixels(radius);
    p.drawEllipse(centre, r, r);
    touch(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), m_drawWidth);
}

void Canvas::present()
{
    flushLines();
    const QRect dirty = m_dirty;
    m_dirty = {};
    if (m_presenter && !dirty.isEmpty())
        m_presenter(dirty);
}

} // namespace velmora
