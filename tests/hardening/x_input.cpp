// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "x_input.h"

#include <X11/Xlib.h>

#include <dlfcn.h>

// libXtst is loaded when needed: its development headers are not among the project's packages.
struct XInput::Api {
    Display* display = nullptr;
    void* library = nullptr;
    int (*motion)(Display*, int, int, int, unsigned long) = nullptr;
    int (*button)(Display*, unsigned, int, unsigned long) = nullptr;
    int (*keyEvent)(Display*, unsigned, int, unsigned long) = nullptr;
};

XInput::XInput() : m_api(new Api) {
    m_api->display = XOpenDisplay(nullptr);
    m_api->library = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!m_api->library)
        return;
    m_api->motion =
        reinterpret_cast<decltype(Api::motion)>(dlsym(m_api->library, "XTestFakeMotionEvent"));
    m_api->button =
        reinterpret_cast<decltype(Api::button)>(dlsym(m_api->library, "XTestFakeButtonEvent"));
    m_api->keyEvent =
        reinterpret_cast<decltype(Api::keyEvent)>(dlsym(m_api->library, "XTestFakeKeyEvent"));
}

XInput::~XInput() {
    if (m_api->display)
        XCloseDisplay(m_api->display);
    if (m_api->library)
        dlclose(m_api->library);
    delete m_api;
}

bool XInput::usable() const {
    return m_api->display && m_api->motion && m_api->button && m_api->keyEvent;
}

void XInput::click(int x, int y) {
    m_api->motion(m_api->display, -1, x, y, 0);
    m_api->button(m_api->display, 1, True, 0);
    m_api->button(m_api->display, 1, False, 0);
    XFlush(m_api->display);
}

void XInput::key(unsigned long keysym) {
    const unsigned code = XKeysymToKeycode(m_api->display, keysym);
    m_api->keyEvent(m_api->display, code, True, 0);
    m_api->keyEvent(m_api->display, code, False, 0);
    XFlush(m_api->display);
}
