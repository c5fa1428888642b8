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
#include "svg_picture.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>

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

// Draws the run again; a run that stopped stops again at the same place.
void drawRun(const Picture& picture, velmora::DrawingSurface& surface) {
    velmora::NoLabels labels;
    if (picture.run)
        velmora::runStartAction(*picture.run, surface, labels, velmora::qt::decimalPoint(), {},
                                picture.explore, picture.steps);
}

QSize clientSize(double zoom) {
    using namespace velmora::form;
    return QSize(toPixels(clientWidth, zoom), toPixels(clientHeight, zoom));
}

bool writeSvg(const Picture& picture, QIODevice& device, int scale) {
    velmora::PictureContent content{picture.run,
                                    picture.steps,
                                    picture.explore,
                                    {},
                                    {},
                                    picture.form.speed,
                                    velmora::qt::toUtf8(picture.title),
                                    velmora::qt::toUtf8(picture.description)};
    for (const QString& option : picture.form.selected)
        content.selected.push_back(velmora::qt::toUtf8(option));
    for (auto at = picture.form.moved.begin(); at != picture.form.moved.end(); ++at)
        content.labels.push_back({velmora::qt::toUtf8(at.key()), at->x(), at->y()});
    const QByteArray svg = QByteArray::fromStdString(
        velmora::svgPicture(content, picture.zoom * scale, velmora::qt::decimalPoint()));
    return device.write(svg) == svg.size();
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
