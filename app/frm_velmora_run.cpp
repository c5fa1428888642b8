// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start on the desktop: the run, the labels it places, and the input that comes meanwhile:
// Escape stops it, and the rest waits as the core's rule says.
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
    // Reached during a run by a queued call or a screen reader's press: once, after it.
    if (m_hold->take(RunHold::Input::Start, [this] { cmdStart_Click(); }))
        return;
    velmora::RunResult result;
    {
        m_hold->begin();
        const auto release = qScopeGuard([this] { m_hold->end(); });
        result = run();
    }
    emit runEnded();
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
        return {{}, error, false, {}};
    }
    // The desktop spends each wait the brake asks for on this thread, sleeping most of it;
    // the presenter lets the window repaint and sees the input that comes meanwhile.
    velmora::StartAction action(store, *canvas, *this, velmora::qt::decimalPoint(), explore);
    for (velmora::Brake brake = action.begin(); action.scanning(); brake = action.step()) {
        if (m_hold->stopping()) {
            action.stop();
            break;
        }
        velmora::brakeWait(brake.wait());
    }
    velmora::RunResult result = action.finish();
    if (result.error) {
        showDrawn(); // the run stopped mid-step; show what it drew
        return result;
    }
    if (result.stopped) {
        showDrawn();
        drawnUpTo(int(result.report.intensities.size()));
    }
    const QString summary =
        velmora::qt::toQString(result.stopped ? velmora::describeStoppedRun(result.report)
                                              : velmora::describeRun(result.report));
    setDescription(summary);
    m_announcer->announce(summary);
    return result;
}

void frmVelmora::closeEvent(QCloseEvent* event) {
    if (m_hold->take(RunHold::Input::Exit, [this] { close(); })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
