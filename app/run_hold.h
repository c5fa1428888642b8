// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lets a window go on painting during a run while the user's input to it follows the core's
// rule: Escape stops the run, a press of Start waits once for its end, Exit acts at its end,
// and the rest, with whatever the window defers, is held and handed back in order.
#pragma once

#include "input_during_run.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QWidget;

class RunHold : public QObject {
    Q_OBJECT

public:
    using Input = velmora::InputDuringRun::Input;
    // Presses of `start` and `exit` are Start and Exit to the rule.
    RunHold(QWidget* window, QAbstractButton* start, QAbstractButton* exit);
    ~RunHold() override;

    bool isHolding() const { return m_rule.running(); }
    // Escape was pressed: the run should end before its next step.
    bool stopping() const { return m_rule.stopping(); }
    void begin();
    // Posts what the rule acts on, in the order it came, behind everything already queued.
    void end();
    // Input that reached the window by another way than events (a queued call, a screen
    // reader's action, a close request): during a run the rule holds `action` or drops it, and
    // true is returned; otherwise the caller acts.
    bool take(Input input, std::function<void()> action);
    // Handles what is queued: input to the window is held, or stops the run.
    void letThrough();

    // For input that reaches a control by another way than events: during a run of the
    // control's window, `action` is deferred and true returned.
    static bool deferDuringRun(QWidget* control, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Meaning { Other, Part, Escape, Start, Exit };
    Meaning meaning(QObject* watched, const QEvent* event) const;
    void hold(Input input, QObject* receiver, std::unique_ptr<QEvent> event,
              std::function<void()> action);

    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> action;
    };
    QWidget* m_window;
    QPointer<QAbstractButton> m_start, m_exit;
    velmora::InputDuringRun m_rule;
    std::vector<Held> m_held; // numbered as the rule numbers its holds
};
