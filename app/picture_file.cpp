// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_file.h"

#include "canvas.h"
#include "core_text.h"
#include "native_text.h"
#include "result_labels.h"
#include "safe_file.h"
#include "start_action.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>

#include <array>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// What a picture file can be, by its name's extension.
struct Format {
    const char* name;
    const char* writer; // QImageWriter's name, or "svg"
    std::array<const char*, 2> extensions;
};
constexpr Format formats[] = {{"PNG", "png", {"png"}},
                              {"SVG", "svg", {"svg"}},
                              {"JPEG", "jpeg", {"jpg", "jpeg"}},
                              {"BMP", "bmp", {"bmp"}},
                              {"WebP", "webp", {"webp"}}};

// JPEG and WebP come from plugins, WebP from one Qt installs apart (qt6-image-formats-plugins).
bool canWrite(const Format& format) {
    return std::string_view(format.writer) == "svg" ||
           QImageWriter::supportedImageFormats().contains(format.writer);
}

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

bool writeImage(const Picture& picture, QIODevice& device, int scale, const QByteArray& format) {
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
    QImageWriter writer(&device, format);
    if (format == "webp")
        writer.setQuality(100); // lossless: thin lines and small captions stay sharp
    return writer.write(image);
}

} // namespace

std::optional<QByteArray> pictureFormat(const QByteArray& name) {
    const QByteArray base = name.mid(name.lastIndexOf('/') + 1);
    const qsizetype dot = base.lastIndexOf('.');
    if (dot < 0)
        return "png";
    const QByteArray extension = base.mid(dot + 1).toLower();
    for (const Format& format : formats) {
        for (const char* known : format.extensions) {
            if (known && extension == known && canWrite(format))
                return format.writer;
        }
    }
    return std::nullopt;
}

QString pictureFormats() {
    QStringList listed;
    for (const Format& format : formats) {
        if (canWrite(format)) {
            QStringList extensions;
            for (const char* extension : format.extensions) {
                if (extension)
                    extensions << u"."_s + QLatin1StringView(extension);
            }
            listed << u"%1 (%2)"_s.arg(QLatin1StringView(format.name), extensions.join(u", "_s));
        }
    }
    return listed.mid(0, listed.size() - 1).join(u", "_s) + u" or "_s + listed.last();
}

bool writePicture(const Picture& picture, const QByteArray& path, int scale, QString* error) {
    const std::optional<QByteArray> format = pictureFormat(path);
    if (!format) {
        *error = u"cannot write %1: Velmora writes only %2"_s.arg(shown(fromNative(path)),
                                                                  pictureFormats());
        return false;
    }
    return saveFileSafely(
        path,
        [&](QIODevice& device) {
            return *format == "svg" ? writeSvg(picture, device, scale)
                                    : writeImage(picture, device, scale, *format);
        },
        error);
}

bool writePicture(const Picture& picture, const QString& path, int scale, QString* error) {
    const std::optional<QByteArray> name = toNative(path);
    if (!name) {
        *error = u"%1 cannot be a file name"_s.arg(shown(path));
        return false;
    }
    return writePicture(picture, *name, scale, error);
}
