// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start on the desktop: the run, the picture it leaves, and the input that waits meanwhile.
#include "frm_velmora.h"

#include "accessibility.h"
#include "brake.h"
#include "canvas.h"
#include "parameter_store.h"
#include "qt_core.h"
#include "result_labels.h"
#include "run_hold.h"
#include "run_report.h"
#include "run_time_error.h"
#include "start_action.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScopeGuard>

#include <array>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Reads the presets straight from the hidden text boxes each time the run asks.
class TextBoxStore final : public velmora::ParameterStore {
public:
    TextBoxStore(const QLineEdit& fi, const QLineEdit& rozteč, const QLineEdit& spomaleni)
        : m_fi(fi), m_rozteč(rozteč), m_spomaleni(spomaleni) {}
    std::string nFi() const override { return velmora::qt::toUtf8(m_fi.text()); }
    std::string nRozteč() const override { return velmora::qt::toUtf8(m_rozteč.text()); }
    std::string nSpomaleni() const override { return velmora::qt::toUtf8(m_spomaleni.text()); }

private:
    const QLineEdit& m_fi;
    const QLineEdit& m_rozteč;
    const QLineEdit& m_spomaleni;
};

class ResultLabelBoard final : public velmora::LabelBoard {
public:
    ResultLabelBoard(const frmVelmora& window, std::function<void(QLabel*, QPointF)> place)
        : m_labels{window.labClona, window.labDetektorB, window.labPravděpodobnost,
                   window.labZdroj},
          m_place(std::move(place)) {}
    void showLabel(velmora::ResultLabel which, float left, float top) override {
        QLabel* label = m_labels.at(std::size_t(which));
        label->setVisible(true);
        m_place(label, QPointF(left, top));
    }

private:
    std::array<QLabel*, 4> m_labels; // in the order of velmora::ResultLabel
    std::function<void(QLabel*, QPointF)> m_place;
};

class NoLabels final : public velmora::LabelBoard {
public:
    void showLabel(velmora::ResultLabel, float, float) override {}
};

} // namespace

void frmVelmora::cmdStart_Click() {
    if (m_hold->isHolding()) {
        // Reached during a run by a queued call or a screen reader's press: it runs after it.
        m_hold->defer([this] { cmdStart_Click(); });
        return;
    }
    QString failure;
    {
        m_hold->begin();
        const auto release = qScopeGuard([this] { m_hold->end(); });
        try {
            run();
        } catch (const velmora::RunTimeError& error) {
            if (m_canvas)
                m_canvas->present(); // the run stopped mid-step; show what it drew
            failure = velmora::qt::message(error);
            m_picture->setDescription(
                u"The last run stopped: %1. The picture is incomplete."_s.arg(failure));
        }
    }
    if (!failure.isEmpty())
        QMessageBox::critical(this, appName, failure);
}

void frmVelmora::run() {
    if (!m_canvas) {
        m_canvas = createCanvas();
        setPresenter();
    }
    const TextBoxStore store(*nFi, *nRozteč, *nSpomaleni);
    // No handler runs during a run, so these texts hold for all of it.
    m_lastRun = RunRecord{nFi->text(), nRozteč->text(), {}};
    ResultLabelBoard labels(*this,
                            [this](QLabel* label, QPointF at) { placeResultLabel(label, at); });
    // The desktop spends each wait the brake asks for on this thread, sleeping most of it;
    // the presenter lets the window repaint while input waits for the run's end.
    const velmora::RunReport report =
        velmora::runStartAction(store, *m_canvas, labels, velmora::qt::decimalPoint(),
                                [](velmora::Brake brake) { velmora::brakeWait(brake.wait()); });
    m_lastRun->intensities = report.intensities;
    const QString summary = velmora::qt::toQString(velmora::describeRun(report));
    m_picture->setDescription(summary);
    m_announcer->announce(summary);
}

void frmVelmora::redrawPicture() {
    if (!m_canvas)
        return;
    std::unique_ptr<velmora::Canvas> canvas;
    try {
        canvas = createCanvas();
    } catch (const velmora::RunTimeError&) {
        return; // the old picture stays, scaled
    }
    if (m_lastRun) {
        // Drawn again from the same calls, so lines stay sharp at any zoom. A run that stopped
        // stops again at the same place.
        const velmora::PresetTexts store =
            velmora::qt::presetTexts(m_lastRun->fi, m_lastRun->rozteč, u"0"_s); // no wait
        NoLabels labels;
        try {
            velmora::qt::runStartAction(store, *canvas, labels);
        } catch (const velmora::RunTimeError&) {
        }
    }
    m_canvas = std::move(canvas);
    setPresenter();
    update();
}

void frmVelmora::setPresenter() {
    // Synchronous, so each scan step shows; then the window repaints what was uncovered and
    // answers the window manager, while input waits for the run's end.
    m_canvas->setPresenter([this](const QRect& changed) {
        const QRectF scaled(QPointF(changed.topLeft()) * m_zoom, QSizeF(changed.size()) * m_zoom);
        repaint(scaled.toAlignedRect().translated(m_origin).adjusted(-1, -1, 1, 1));
        m_hold->letThrough();
    });
}

QImage frmVelmora::picture() {
    return m_canvas ? m_canvas->image() : QImage();
}

void frmVelmora::closeEvent(QCloseEvent* event) {
    if (m_hold->isHolding()) {
        event->ignore();
        m_hold->defer([this] { close(); });
        return;
    }
    QWidget::closeEvent(event);
}

void frmVelmora::paintEvent(QPaintEvent* event) {
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
