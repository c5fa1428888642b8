// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping the picture for a worksheet: the clipboard, a file, the printer.
#include "frm_velmora.h"

#include "picture_file.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QImage frmVelmora::clientImage() {
    return grab(clientArea()).toImage();
}

void frmVelmora::copyPicture() {
    QGuiApplication::clipboard()->setImage(clientImage());
}

void frmVelmora::savePicture() {
    const QString png = u"PNG image (*.png)"_s, svg = u"SVG drawing (*.svg)"_s;
    QString filter = png;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString path = QFileDialog::getSaveFileName(this, u"Save picture"_s,
                                                QDir(folder).filePath(u"velmora.png"_s),
                                                png + u";;"_s + svg, &filter);
    if (path.isEmpty())
        return;
    // The name decides the format; a name without one takes the chosen filter's.
    if (!path.endsWith(u".png"_s, Qt::CaseInsensitive) &&
        !path.endsWith(u".svg"_s, Qt::CaseInsensitive))
        path += filter == svg ? u".svg"_s : u".png"_s;
    QString error;
    if (!savePictureAs(path, &error))
        QMessageBox::warning(this, appName, u"The picture was not saved: %1."_s.arg(error));
}

bool frmVelmora::savePictureAs(const QString& path, QString* error) {
    return writePicture(*this, path, 1, error);
}

void frmVelmora::printPicture() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printPicture(printer);
}

void frmVelmora::printPicture(QPrinter& printer) {
    const QImage image = clientImage();
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    // As large as the page allows, centred, at its own proportions.
    const QRect page = painter.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.topLeft() + QPoint((page.width() - fitted.width()) / 2,
                                               (page.height() - fitted.height()) / 2),
                       fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    painter.end();
}

void frmVelmora::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (QAction* action : m_menu) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    menu.exec(event->globalPos());
}
