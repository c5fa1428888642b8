// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "input_during_run.h"

#include <algorithm>
#include <utility>

namespace velmora {

void InputDuringRun::runBegins() {
    m_running = true;
    m_stopping = m_exiting = false;
    m_held.clear();
}

void InputDuringRun::cancel(Input input) {
    for (Held& held : m_held) {
        if (held.input == input)
            held.cancelled = true;
    }
}

InputDuringRun::Verdict InputDuringRun::take(Input input) {
    if (!m_running)
        return Verdict::Act;
    if (input == Input::Escape) {
        // A Start pressed before it would only begin what Escape was pressed to end.
        m_stopping = true;
        cancel(Input::Start);
        return Verdict::Stop;
    }
    if (m_exiting)
        return Verdict::Drop;
    const bool startHeld = std::any_of(m_held.begin(), m_held.end(), [](const Held& h) {
        return h.input == Input::Start && !h.cancelled;
    });
    if (input == Input::Start && startHeld)
        return Verdict::Drop;
    if (input == Input::Exit) {
        // Nothing held matters once the program ends, and some of it (a dialog) would delay it.
        for (Held& held : m_held)
            held.cancelled = true;
        m_exiting = true;
    }
    m_held.push_back({input});
    return Verdict::Hold;
}

std::vector<int> InputDuringRun::runEnds() {
    std::vector<int> live;
    for (std::size_t i = 0; i < m_held.size(); ++i) {
        if (!m_held[i].cancelled)
            live.push_back(int(i));
    }
    m_running = m_stopping = m_exiting = false;
    m_held.clear();
    return live;
}

} // namespace velmora
