// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keys the platform's controls do not handle as a keyboard user expects here.
#pragma once

class QAbstractButton;
class QKeyEvent;
class QRadioButton;

// Without a modifier; the keypad's flag rides along with its keys.
bool unmodified(const QKeyEvent* key);

// Enter and Return press the button while it has the focus, as Space does.
void pressOnEnter(QAbstractButton* button);

// Arrow keys move through the button's option group in caption order, top to bottom.
void arrowsInCaptionOrder(QRadioButton* option);
