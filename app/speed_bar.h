// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The speed scroll bar HScroll1, with what it offers beyond the platform's: a frame while it
// has the keyboard focus, as the platform styles draw none for scroll bars; PageUp and PageDown
// by a tenth of its range (clicks still move it by 1); and a run's length as its tooltip and
// as its value for a screen reader.
#pragma once

#include <QScrollBar>

class QPainter;

class SpeedBar : public QScrollBar {
public:
    explicit SpeedBar(QWidget* parent);

    // The frame it draws around a bar that has the focus, in the palette's highlight.
    static void paintFocus(QPainter& painter, const QRect& rect, const QPalette& palette);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void describeValue(int value);
};
