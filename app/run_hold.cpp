// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_hold.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
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

RunHold::RunHold(QWidget* window, QAbstractButton* start, QAbstractButton* exit)
    : QObject(window), m_window(window), m_start(start), m_exit(exit) {}

bool RunHold::deferDuringRun(QWidget* control, std::function<void()> action) {
    auto* hold = control->window()->findChild<RunHold*>(QString(), Qt::FindDirectChildrenOnly);
    return hold && hold->take(Input::Other, std::move(action));
}

RunHold::~RunHold() {
    if (isHolding())
        QCoreApplication::instance()->removeEventFilter(this);
}

void RunHold::begin() {
    if (isHolding())
        return;
    m_rule.runBegins();
    QCoreApplication::instance()->installEventFilter(this);
}

void RunHold::end() {
    if (!isHolding())
        return;
    // Input posted since the last look would otherwise overtake what was held before it.
    letThrough();
    QCoreApplication::instance()->removeEventFilter(this);
    std::vector<Held> held = std::exchange(m_held, {});
    for (const int i : m_rule.runEnds()) {
        if (held[i].action)
            QMetaObject::invokeMethod(m_window, std::move(held[i].action), Qt::QueuedConnection);
        else if (held[i].receiver)
            QCoreApplication::postEvent(held[i].receiver, held[i].event.release());
    }
}

bool RunHold::take(Input input, std::function<void()> action) {
    if (!isHolding())
        return false;
    hold(input, nullptr, nullptr, std::move(action));
    return true;
}

void RunHold::hold(Input input, QObject* receiver, std::unique_ptr<QEvent> event,
                   std::function<void()> action) {
    if (m_rule.take(input) == velmora::InputDuringRun::Verdict::Hold)
        m_held.push_back({receiver, std::move(event), std::move(action)});
}

void RunHold::letThrough() {
    // Input from the window system too: the filter holds it, and Escape must be seen now.
    QCoreApplication::processEvents();
}

RunHold::Meaning RunHold::meaning(QObject* watched, const QEvent* event) const {
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick;
    if (key && static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return type == QEvent::KeyPress ? Meaning::Escape : Meaning::Part;
    // The window's own QWindow delivers to the focus widget, or to the widget under the mouse.
    auto* target = qobject_cast<QWidget*>(watched);
    QPoint at;
    if (mouse)
        at = static_cast<const QMouseEvent*>(event)->position().toPoint();
    if (!target && key)
        target = m_window->focusWidget();
    else if (!target && mouse)
        target = m_window->childAt(at);
    else if (target && mouse && !target->rect().contains(at))
        target = nullptr;
    if (!target || (target != m_start && target != m_exit))
        return Meaning::Other;
    const Meaning press = target == m_start ? Meaning::Start : Meaning::Exit;
    // A press acts once complete: on a click's release, on Space let go, on Return pressed.
    if (key) {
        const auto* k = static_cast<const QKeyEvent*>(event);
        const bool release = type == QEvent::KeyRelease;
        if (k->key() == Qt::Key_Space)
            return release && !k->isAutoRepeat() ? press : Meaning::Part;
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
            return !release && !k->isAutoRepeat() ? press : Meaning::Part;
        return Meaning::Other;
    }
    if (mouse && static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton)
        return type == QEvent::MouseButtonRelease ? press : Meaning::Part;
    return Meaning::Other;
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
    const auto click = [](QAbstractButton* button) {
        return [b = QPointer(button)] {
            if (b)
                b->click();
        };
    };
    switch (meaning(watched, event)) {
    case Meaning::Part:
        break;
    case Meaning::Escape:
        hold(Input::Escape, nullptr, nullptr, {});
        break;
    case Meaning::Start:
        hold(Input::Start, nullptr, nullptr, click(m_start));
        break;
    case Meaning::Exit:
        hold(Input::Exit, nullptr, nullptr, click(m_exit));
        break;
    case Meaning::Other:
        hold(Input::Other, watched, std::unique_ptr<QEvent>(event->clone()), {});
        break;
    }
    return true;
}
