// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_file.h"

#include "canvas.h"
#include "core_text.h"
#include "result_labels.h"
#include "start_action.h"
#include "svg_picture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// Draws the run again; a run that stopped stops again at the same place.
void drawRun(const Picture& picture, velmora::DrawingSurface& surface) {
    velmora::NoLabels labels;
    if (picture.run)
        velmora::runStartAction(*picture.run, surface, labels, velmora::qt::decimalPoint(), {},
                                picture.steps);
}

QSize clientSize(double zoom) {
    using namespace velmora::form;
    return QSize(toPixels(clientWidth, zoom), toPixels(clientHeight, zoom));
}

bool writeSvg(const Picture& picture, QIODevice& device, int scale) {
    velmora::PictureContent content{picture.run,
                                    picture.steps,
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
