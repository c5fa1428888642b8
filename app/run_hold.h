// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lets a window go on painting during a run while the user's input to it waits: the events a
// run lets through are painting and the window manager's; input, and whatever the window
// defers, is held and handed back in order once the run is over.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

class RunHold : public QObject {
    Q_OBJECT

public:
    explicit RunHold(QWidget* window);
    ~RunHold() override;

    bool isHolding() const { return m_holding; }
    void begin();
    // Posts what was held, in the order it came, behind everything already queued.
    void end();
    // Runs `action` after the run, in its place among the held input.
    void defer(std::function<void()> action);
    // Handles what is queued, except input, which stays queued or is held.
    void letThrough();

    // For input that reaches a control by another way than events (a screen reader's action):
    // during a run of the control's window, `action` is deferred and true returned.
    static bool deferDuringRun(QWidget* control, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> action;
    };
    QWidget* m_window;
    bool m_holding = false;
    std::vector<Held> m_held;
};
