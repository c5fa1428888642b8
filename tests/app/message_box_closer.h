// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Closes the next modal message box as soon as it opens and remembers what it said, so a
// test can drive a handler that reports an error.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

class MessageBoxCloser {
public:
    MessageBoxCloser() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_text = box->text();
                m_icon = box->icon();
                ++m_count;
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start();
    }

    QString text() const { return m_text; }
    QMessageBox::Icon icon() const { return m_icon; }
    int count() const { return m_count; }

private:
    QTimer m_timer;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    int m_count = 0;
};
