// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Real input on an X server, through its XTest extension on a connection of its own: the
// server delivers it to the program as it would a user's.
#pragma once

class XInput {
public:
    XInput();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    // The display and its XTest extension answer.
    bool usable() const;
    // A left click at a point of the screen; a key, by its keysym, pressed and let go.
    void click(int x, int y);
    void key(unsigned long keysym);

private:
    struct Api;
    Api* m_api = nullptr;
};
