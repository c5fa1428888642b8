// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whether the display the environment names can be opened, asked before Qt is: Qt ends the
// program with an abort when it cannot open its display.
#pragma once

#include <QString>

struct DisplayCheck {
    enum class State {
        None,        // no display is named at all
        Usable,      // one can be opened, or the platform chosen needs none
        Unreachable, // every named display failed
    };
    State state = State::None;
    QString failed; // for Unreachable: what was tried and why it failed, for a message
};

// Call before the QApplication exists. When exactly one of an X11 and a Wayland display
// works and Qt was left to choose, points QT_QPA_PLATFORM at the one that works.
DisplayCheck checkDisplay();
