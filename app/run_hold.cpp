// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

RunHold::RunHold(QWidget* window) : QObject(window), m_window(window) {}

bool RunHold::deferDuringRun(QWidget* control, std::function<void()> action) {
    auto* hold = control->window()->findChild<RunHold*>(QString(), Qt::FindDirectChildrenOnly);
    if (!hold || !hold->isHolding())
        return false;
    hold->defer(std::move(action));
    return true;
}

RunHold::~RunHold() {
    if (m_holding)
        QCoreApplication::instance()->removeEventFilter(this);
}

void RunHold::begin() {
    if (m_holding)
        return;
    m_holding = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void RunHold::end() {
    if (!m_holding)
        return;
    // Input posted since the last look would otherwise overtake what was held before it.
    letThrough();
    QCoreApplication::instance()->removeEventFilter(this);
    m_holding = false;
    for (Held& held : std::exchange(m_held, {})) {
        if (held.action)
            QMetaObject::invokeMethod(m_window, std::move(held.action), Qt::QueuedConnection);
        else if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

void RunHold::defer(std::function<void()> action) {
    m_held.push_back({nullptr, nullptr, std::move(action)});
}

void RunHold::letThrough() {
    // Input from the window system stays in its queue; input posted by code is held here.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool RunHold::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && !isInput(type))
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget ? widget->window() == m_window
                             : watched == m_window->windowHandle() && watched != nullptr;
    if (!ours)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so no shortcut fires now; the key press itself is held and replayed.
        event->accept();
        return true;
    }
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone()), {}});
    return true;
}
