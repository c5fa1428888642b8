// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_file.h"

#include "canvas.h"
#include "core_text.h"
#include "result_labels.h"
#include "start_action.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
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
        return m_scaleMode == velmora::ScaleMode::Twips ? v / velmora::form::twipsPerPixel : v;
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

// Draws the run again; a run that stopped stops again at the same place.
void drawRun(const Picture& picture, velmora::DrawingSurface& surface) {
    velmora::NoLabels labels;
    if (picture.run)
        velmora::runStartAction(*picture.run, surface, labels, velmora::qt::decimalPoint(), {},
                                picture.explore);
}

QSize clientSize(double zoom) {
    using namespace velmora::form;
    return QSize(toPixels(clientWidth, zoom), toPixels(clientHeight, zoom));
}

bool writeSvg(const Picture& picture, QIODevice& device, int scale) {
    const QSize size = clientSize(picture.zoom);
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size * scale);
    svg.setViewBox(QRect(QPoint(), size));
    // Font sizes in points must come out as large as on screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        svg.setResolution(qRound(screen->logicalDotsPerInchY()));
    svg.setTitle(picture.title);
    svg.setDescription(picture.description); // what a screen reader says of the run

    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(), size), velmora::Canvas::toQColor(velmora::colours::lightGrey));
    painter.save();
    painter.scale(picture.zoom, picture.zoom); // the run draws at 100 %
    {
        SvgSurface surface(painter);
        drawRun(picture, surface);
    } // the surface paints what it still holds before the controls go on top
    painter.restore();
    paintForm(painter, picture.form, picture.zoom);
    return painter.end();
}

bool writePng(const Picture& picture, QIODevice& device, int scale) {
    const QSize size = clientSize(picture.zoom);
    QImage image(size * scale, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(scale);
    image.fill(velmora::Canvas::toQColor(velmora::colours::lightGrey));
    try {
        velmora::Canvas canvas(clientSize(1), picture.zoom * scale);
        drawRun(picture, canvas);
        QPainter painter(&image);
        painter.drawImage(QRect(QPoint(), size), canvas.image());
        paintForm(painter, picture.form, picture.zoom);
    } catch (const velmora::RunTimeError&) {
        return false; // no memory for the canvas
    }
    QImageWriter writer(&device, "png");
    return writer.write(image);
}

// Every byte, then the flush; QFileDevice's own close() would drop a failed flush unseen.
bool writeAll(QFileDevice& file, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return file.flush();
}

} // namespace

bool saveFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString& cause) {
        *error = u"cannot write %1: %2"_s.arg(shown, cause);
        return false;
    };
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
    // Made whole in memory first: a writer that meets a full disk halfway (the SVG generator,
    // libpng) may not say so, and nothing is opened for content that cannot be made.
    QByteArray content;
    {
        QBuffer buffer(&content);
        buffer.open(QIODevice::WriteOnly);
        if (!write(buffer))
            return fail(u"Velmora could not make its content"_s);
    }
    // A device or a pipe is written to, not replaced: a rename would put a file in its place,
    // and as root, -o /dev/null would remove /dev/null.
    if (const QFileInfo existing(path); existing.exists() && !existing.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            !writeAll(device, content))
            return fail(device.errorString());
        return true;
    }
    // Unbuffered: each write reports its own failure, with the system's reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    // A link planted since the first look has been resolved by open(): give up rather than use it.
    if (refuseLink()) {
        file.cancelWriting();
        return false;
    }
    if (!writeAll(file, content)) {
        const QString cause = file.errorString();
        file.cancelWriting(); // the temporary goes, the earlier file stays
        return fail(cause);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool writePicture(const Picture& picture, const QString& path, int scale, QString* error) {
    const bool svg = path.endsWith(u".svg"_s, Qt::CaseInsensitive);
    return saveFileSafely(
        path,
        [&](QIODevice& device) {
            return svg ? writeSvg(picture, device, scale) : writePng(picture, device, scale);
        },
        error);
}
