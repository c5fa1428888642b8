// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window in a classroom: zoom steps for a projector, and full screen.
#include "frm_velmora.h"

#include <QAction>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QWindow>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array zoomSteps{100, 125, 150, 175, 200, 250, 300};
const QString zoomKey = u"view/zoom"_s;
// The client area at 100 %, in logical pixels: what full screen has to fit.
constexpr QSizeF clientPixels(velmora::form::clientWidth / velmora::form::twipsPerPixel,
                              velmora::form::clientHeight / velmora::form::twipsPerPixel);

// The largest step at which the window, with the frame its window manager gives it, fits the
// screen's available area; 100 % always.
int largestFittingStep(const QWidget& window) {
    const QSize room = window.screen()->availableGeometry().size() -
                       (window.frameGeometry().size() - window.size());
    for (auto step = zoomSteps.rbegin(); step != zoomSteps.rend(); ++step) {
        const QSizeF size = clientPixels * *step / 100.0;
        if (size.width() <= room.width() && size.height() <= room.height())
            return *step;
    }
    return zoomSteps.front();
}

// Only a step chosen with the keys is remembered, not one a smaller screen imposed.
void remember(int percent) {
    QSettings().setValue(zoomKey, percent);
}

} // namespace

void frmVelmora::createActions() {
    const auto add = [this](const QString& text, QList<QKeySequence> keys, auto slot) {
        auto* action = new QAction(text, this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    // Also the context menu of the picture, in this order.
    m_menu = {
        add(u"Copy picture"_s, {QKeySequence::Copy}, &frmVelmora::copyPicture),
        add(u"Save picture..."_s, {QKeySequence::Save}, &frmVelmora::savePicture),
        add(u"Print picture..."_s, {QKeySequence::Print},
            static_cast<void (frmVelmora::*)()>(&frmVelmora::printPicture)),
        nullptr,
        // Ctrl+= too: on most layouts "+" needs Shift.
        add(u"Zoom in"_s, {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
            &frmVelmora::zoomIn),
        add(u"Zoom out"_s, {QKeySequence::ZoomOut}, &frmVelmora::zoomOut),
        add(u"Actual size"_s, {QKeySequence(Qt::CTRL | Qt::Key_0)}, &frmVelmora::resetZoom),
        add(u"Full screen"_s, {QKeySequence(Qt::Key_F11)},
            [this] { setFullScreen(!m_fullScreen); }),
    };
    add(u"Leave full screen"_s, {QKeySequence(Qt::Key_Escape)}, [this] { setFullScreen(false); });
}

void frmVelmora::restoreZoom() {
    setZoomPercent(QSettings().value(zoomKey, 100).toInt());
}

void frmVelmora::zoomIn() {
    const auto next = std::ranges::upper_bound(zoomSteps, m_zoomPercent);
    if (next != zoomSteps.end() && *next <= largestFittingStep(*this)) {
        remember(*next);
        setZoomPercent(*next);
    }
}

void frmVelmora::zoomOut() {
    const auto next = std::ranges::lower_bound(zoomSteps, m_zoomPercent);
    if (next != zoomSteps.begin()) {
        remember(*(next - 1));
        setZoomPercent(*(next - 1));
    }
}

void frmVelmora::resetZoom() {
    remember(100);
    setZoomPercent(100);
}

void frmVelmora::setZoomPercent(int percent) {
    m_zoomPercent = std::clamp(percent, zoomSteps.front(), largestFittingStep(*this));
    if (m_fullScreen)
        return; // full screen keeps what fits; the step returns with the window
    const double zoom = m_zoomPercent / 100.0;
    if (zoom == m_zoom && m_origin.isNull() && size() == clientArea().size())
        return;
    m_zoom = zoom;
    m_origin = {};
    setFixedSize(clientArea().size());
    applyZoom();
    redrawPicture();
}

// Full screen follows F11 and Escape alone, not the window state Qt reports: a window manager
// may announce the old state after the request, and a fixed size set then would keep the
// window from filling the screen. Should the window manager itself end it, the zoom still fits
// whatever size the window gets.
void frmVelmora::setFullScreen(bool on) {
    if (on == m_fullScreen)
        return;
    m_fullScreen = on;
    if (on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showFullScreen();
        // Without a window manager that honours the state, nobody else would resize it.
        windowHandle()->setGeometry(screen()->geometry());
    } else {
        showNormal();
        setZoomPercent(m_zoomPercent);
    }
}

void frmVelmora::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_fullScreen)
        return;
    // The largest zoom that fits, centred: one factor still, with the margin around it. The
    // size the window has now: an event queued before full screen may carry an older one.
    const QSize screen = size();
    const double zoom =
        std::min(screen.width() / clientPixels.width(), screen.height() / clientPixels.height());
    if (zoom == m_zoom && !m_origin.isNull())
        return;
    m_zoom = zoom;
    m_origin = {};
    const QSize client = clientArea().size();
    m_origin =
        QPoint((screen.width() - client.width()) / 2, (screen.height() - client.height()) / 2);
    applyZoom();
    redrawPicture();
}
