// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_view.h"

#include "accessible.h"
#include "canvas.h"
#include "core_text.h"
#include "picture_file.h"
#include "result_labels.h"
#include "start_action.h"

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

namespace {

constexpr char pictureName[] = "picture";

class PictureAccessible : public LeafAccessible {
public:
    using LeafAccessible::LeafAccessible;
    PictureView* view() const { return static_cast<PictureView*>(owner()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return u"Diffraction picture"_s;
        if (t == QAccessible::Description)
            return view()->description();
        return {};
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !view()->isVisible();
        s.readOnly = true;
        return s;
    }
    // The Start action draws over the whole client area, wherever the zoom puts it.
    QRect rect() const override {
        const QRect area = view()->clientArea();
        return QRect(view()->mapToGlobal(area.topLeft()), area.size());
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (object->objectName() == QLatin1StringView(pictureName) &&
        qobject_cast<PictureView*>(object->parent()))
        return new PictureAccessible(object);
    return nullptr;
}

} // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent), m_accessible(new QObject(this)) {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    m_accessible->setObjectName(QLatin1StringView(pictureName));
    m_description = velmora::qt::toQString(velmora::describeNoPicture());
    // paintEvent covers every pixel, and what it drew stays valid.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
}

PictureView::~PictureView() = default;

QImage PictureView::picture() {
    return m_canvas ? m_canvas->image() : QImage();
}

void PictureView::setDescription(const QString& description) {
    if (description == m_description)
        return;
    m_description = description;
    QAccessibleEvent event(m_accessible, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

QRect PictureView::clientArea() const {
    using namespace velmora::form;
    return QRect(m_origin, QSize(toPixels(clientWidth, m_zoom), toPixels(clientHeight, m_zoom)));
}

velmora::Canvas& PictureView::canvasFor(const velmora::ParameterStore& presets,
                                        const velmora::ExploreSettings& explore) {
    if (!m_canvas) {
        m_canvas = createCanvas();
        setPresenter();
    }
    m_drawn = {presets.nFi, presets.nRozteč, "0"}; // drawn again without waiting
    m_drawnSteps = velmora::scanPoints;
    m_drawnExplore = explore;
    return *m_canvas;
}

std::unique_ptr<velmora::Canvas> PictureView::createCanvas() {
    // In logical pixels at 100 %, which the run's pixel coordinates count; the zoom goes into
    // the device scale, so lines are drawn at full resolution rather than enlarged.
    using namespace velmora::form;
    const QSize client(toPixels(clientWidth, 1), toPixels(clientHeight, 1));
    return std::make_unique<velmora::Canvas>(client, devicePixelRatio() * m_zoom);
}

void PictureView::showDrawn() {
    if (m_canvas)
        m_canvas->present();
}

void PictureView::redrawPicture() {
    if (!m_canvas)
        return;
    std::unique_ptr<velmora::Canvas> canvas;
    try {
        canvas = createCanvas();
    } catch (const velmora::RunTimeError&) {
        return; // the old picture stays, scaled
    }
    // Drawn again from the same calls, so lines stay sharp at any zoom. A run that stopped
    // stops again at the same place.
    velmora::NoLabels labels;
    if (m_drawn)
        velmora::runStartAction(*m_drawn, *canvas, labels, velmora::qt::decimalPoint(), {},
                                m_drawnExplore, m_drawnSteps);
    m_canvas = std::move(canvas);
    setPresenter();
    update();
}

void PictureView::setPresenter() {
    // Synchronous, so each scan step shows; then the window repaints what was uncovered and
    // answers the window manager, while input waits for the run's end.
    m_canvas->setPresenter([this](const QRect& changed) {
        const QRectF scaled(QPointF(changed.topLeft()) * m_zoom, QSizeF(changed.size()) * m_zoom);
        repaint(scaled.toAlignedRect().translated(m_origin).adjusted(-1, -1, 1, 1));
        presented();
    });
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect client = clientArea();
    // Full screen leaves a margin around the client area.
    for (const QRect& margin : event->region() - client)
        painter.fillRect(margin, palette().window());
    const QRect area = event->rect() & client;
    if (area.isEmpty())
        return;
    if (!m_canvas) {
        painter.fillRect(area, palette().window());
        return;
    }
    const QImage& image = m_canvas->image();
    // The source rectangle counts image pixels: more than logical ones on high-DPI screens,
    // and fewer for a picture drawn before the last change of zoom.
    const qreal ratio = image.devicePixelRatio() / m_zoom;
    painter.drawImage(
        area, image,
        QRectF(QPointF(area.topLeft() - m_origin) * ratio, QSizeF(area.size()) * ratio));
}

QImage PictureView::clientImage() {
    return grab(clientArea()).toImage();
}

void PictureView::copyPicture() {
    QGuiApplication::clipboard()->setImage(clientImage());
}

void PictureView::savePicture() {
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
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                             u"The picture was not saved: %1."_s.arg(error));
}

bool PictureView::savePictureAs(const QString& path, QString* error) {
    return writePicture(
        {m_drawn, formState(), m_zoom, windowTitle(), m_description, m_drawnSteps, m_drawnExplore},
        path, 1, error);
}

void PictureView::printPicture() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printPicture(printer);
}

void PictureView::printPicture(QPrinter& printer) {
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

void PictureView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (QAction* action : m_menu) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    menu.exec(event->globalPos());
}
