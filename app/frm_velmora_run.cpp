// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start on the desktop: the run, the labels it places, and the input that waits meanwhile.
#include "frm_velmora.h"

#include "announcer.h"
#include "canvas.h"
#include "core_text.h"
#include "run_hold.h"
#include "start_action.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

void frmVelmora::cmdStart_Click() {
    if (m_hold->isHolding()) {
        // Reached during a run by a queued call or a screen reader's press: it runs after it.
        m_hold->defer([this] { cmdStart_Click(); });
        return;
    }
    velmora::RunResult result;
    {
        m_hold->begin();
        const auto release = qScopeGuard([this] { m_hold->end(); });
        result = run();
    }
    if (!result.error)
        return;
    const QString failure = velmora::qt::message(*result.error);
    setDescription(u"The last run stopped: %1. The picture is incomplete."_s.arg(failure));
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), failure);
}

velmora::RunResult frmVelmora::run() {
    // No handler runs during a run, so these texts hold for all of it.
    const velmora::ParameterStore store = parameterStore();
    const velmora::ExploreSettings explore = exploreSettings();
    velmora::Canvas* canvas = nullptr;
    try {
        canvas = &canvasFor(store, explore);
    } catch (const velmora::RunTimeError& error) {
        return {{}, error, {}};
    }
    // The desktop spends each wait the brake asks for on this thread, sleeping most of it;
    // the presenter lets the window repaint while input waits for the run's end.
    velmora::RunResult result = velmora::runStartAction(
        store, *canvas, *this, velmora::qt::decimalPoint(),
        [](velmora::Brake brake) { velmora::brakeWait(brake.wait()); }, explore);
    if (result.error) {
        showDrawn(); // the run stopped mid-step; show what it drew
        return result;
    }
    const QString summary = velmora::qt::toQString(velmora::describeRun(result.report));
    setDescription(summary);
    m_announcer->announce(summary);
    return result;
}

void frmVelmora::closeEvent(QCloseEvent* event) {
    if (m_hold->isHolding()) {
        event->ignore();
        m_hold->defer([this] { close(); });
        return;
    }
    QWidget::closeEvent(event);
}
