// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Tells the listener that a run has ended: a notification that shows with the summary as its
// text, which Orca speaks wherever the focus is.
#pragma once

#include <QObject>
#include <QString>

class Announcer : public QObject {
    Q_OBJECT

public:
    explicit Announcer(QWidget* window);
    QString text() const { return m_text; }
    bool isShown() const { return m_shown; }
    void announce(const QString& text);

private:
    QString m_text;
    bool m_shown = false;
};
