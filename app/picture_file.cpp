// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_file.h"

#include "accessibility.h"
#include "canvas.h"
#include "frm_velmora.h"
#include "parameter_store.h"
#include "qt_core.h"
#include "result_labels.h"
#include "run_time_error.h"
#include "start_action.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

using namespace Qt::StringLiterals;

namespace {

// The run's drawing calls as vectors, with the pens the image canvas uses.
class SvgSurface final : public velmora::DrawingSurface {
public:
    explicit SvgSurface(QPainter& painter) : m_painter(painter) {}
    ~SvgSurface() override { flushChain(); }

    void setScaleMode(velmora::ScaleMode mode) override { m_scaleMode = mode; }
    void setDrawWidth(int pixels) override { m_drawWidth = pixels; }
    void setFillColor(velmora::Colour colour) override { m_fillColor = colour; }
    void setFillStyle(velmora::FillStyle style) override { m_fillStyle = style; }

    using DrawingSurface::Line;
    void Line(float x1, float y1, float x2, float y2,
              std::optional<velmora::Colour> colour) override {
        QPen pen = outline(colour.value_or(velmora::colours::buttonText));
        if (m_drawWidth > 1)
            pen.setCapStyle(Qt::RoundCap);
        const QPointF from(toPixels(x1), toPixels(y1));
        // A spiral is a thousand segments end to end: one polyline each keeps the file small.
        if (m_chain.isEmpty() || pen != m_chainPen || m_chain.last() != from) {
            flushChain();
            m_chainPen = pen;
            m_chain << from;
        }
        m_chain << QPointF(toPixels(x2), toPixels(y2));
    }

    void Circle(float x, float y, float radius) override {
        flushChain();
        m_painter.setPen(outline(velmora::colours::buttonText));
        m_painter.setBrush(m_fillStyle == velmora::FillStyle::Solid
                               ? QBrush(velmora::Canvas::toQColor(m_fillColor))
                               : QBrush());
        const double r = toPixels(radius);
        m_painter.drawEllipse(QPointF(toPixels(x), toPixels(y)), r, r);
    }

private:
    double toPixels(float v) const {
        return m_scaleMode == velmora::ScaleMode::Twips ? v / velmora::twipsPerPixel : v;
    }
    QPen outline(velmora::Colour colour) const {
        return QPen(velmora::Canvas::toQColor(colour), m_drawWidth);
    }
    void flushChain() {
        if (m_chain.size() > 1) {
            m_painter.setPen(m_chainPen);
            m_painter.drawPolyline(m_chain.constData(), int(m_chain.size()));
        }
        m_chain.clear();
    }

    QPainter& m_painter;
    velmora::ScaleMode m_scaleMode = velmora::ScaleMode::Twips;
    int m_drawWidth = 1;
    velmora::Colour m_fillColor = 0;
    velmora::FillStyle m_fillStyle = velmora::FillStyle::Transparent;
    QList<QPointF> m_chain; // lines drawn end to end with one pen, not painted yet
    QPen m_chainPen;
};

// The window's own run already placed the labels; the repeat only draws.
class KeptLabels final : public velmora::LabelBoard {
public:
    void showLabel(velmora::ResultLabel, float, float) override {}
};

bool writeSvg(frmVelmora& window, QIODevice& device, int scale) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(window.size() * scale);
    svg.setViewBox(window.rect());
    // Font sizes in points must come out as large as on screen.
    svg.setResolution(window.logicalDpiY());
    svg.setTitle(window.windowTitle());
    if (const auto* picture = window.findChild<VelmoraPicture*>())
        svg.setDescription(picture->description()); // what a screen reader says of the run

    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(window.rect(), velmora::Canvas::toQColor(velmora::colours::lightGrey));
    if (const auto& run = window.lastRun()) {
        // The run is deterministic: done again without the brake it draws the same picture.
        // The run draws at 100 %; the window may be zoomed around it.
        painter.translate(window.clientArea().topLeft());
        painter.scale(window.zoom(), window.zoom());
        SvgSurface surface(painter);
        KeptLabels labels;
        try {
            velmora::qt::runStartAction(velmora::qt::presetTexts(run->fi, run->rozteč, u"0"_s),
                                        surface, labels);
        } catch (const velmora::RunTimeError&) {
            // The window's run stopped at the same place and shows what it drew until then.
        }
    } // the surface paints what it still holds before the controls go on top
    painter.resetTransform();
    // The controls lie over the picture, as on screen; the style draws captions as text.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisibleTo(&window))
            continue;
        // A label over the picture has no box of its own: only its text goes on top.
        QWidget::RenderFlags flags = QWidget::DrawChildren;
        if (control->autoFillBackground())
            flags |= QWidget::DrawWindowBackground;
        control->render(&painter, control->pos(), QRegion(), flags);
    }
    return painter.end();
}

bool writePng(frmVelmora& window, QIODevice& device, int scale) {
    QImage image(window.size() * scale, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(scale);
    window.render(&image);
    QImageWriter writer(&device, "png");
    return writer.write(image);
}

} // namespace

bool saveFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error) {
    const QString shown = QDir::toNativeSeparators(path);
    // QSaveFile would write to a link's target; a link planted at the name must redirect nothing.
    const auto refuseLink = [&] {
        if (!QFileInfo(path).isSymLink())
            return false;
        *error = u"%1 is a symbolic link, which Velmora does not follow; name its target "
                 u"instead"_s.arg(shown);
        return true;
    };
    if (refuseLink())
        return false;
    // A device or a pipe is written to, not replaced: a rename would put a file in its place,
    // and as root, -o /dev/null would remove /dev/null.
    if (const QFileInfo existing(path); existing.exists() && !existing.isFile()) {
        QFile device(path);
        if (device.open(QIODevice::WriteOnly) && write(device))
            return true;
        *error = u"cannot write %1: %2"_s.arg(shown, device.errorString());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = u"cannot write %1: %2"_s.arg(shown, file.errorString());
        return false;
    }
    // A link planted since the first look has been resolved by open(): give up rather than use it.
    if (refuseLink())
        return false;
    if (!write(file) || !file.commit()) {
        *error = u"cannot write %1: %2"_s.arg(shown, file.errorString());
        return false;
    }
    return true;
}

bool writePicture(frmVelmora& window, const QString& path, int scale, QString* error) {
    const bool svg = path.endsWith(u".svg"_s, Qt::CaseInsensitive);
    return saveFileSafely(
        path,
        [&](QIODevice& device) {
            return svg ? writeSvg(window, device, scale) : writePng(window, device, scale);
        },
        error);
}
