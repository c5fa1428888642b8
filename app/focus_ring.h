// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The focus ring of every control: navy, at least 7:1 against the window's grey and the
// buttons' faces, drawn whether or not the focus came from the keyboard.
#pragma once

#include <QColor>

class QStyle;
class QWidget;

inline const QColor focusRingColour(0x00, 0x00, 0x99);

// The platform's style, but for the focus, which it draws as a solid two-pixel ring.
QStyle* focusRingStyle();

// Gives the control that style, so Start's focus shows from the first frame.
void showFocusRing(QWidget* control);
