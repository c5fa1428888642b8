// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What becomes of the user's input while a run draws, the same for every front end: Escape
// ends the run before its next step; Start waits for the run's end, once however often it is
// pressed; Exit acts when the run ends, and nothing waits behind it; the rest waits and is
// acted on in the order it came. Front ends keep what is held and ask, at the run's end, which
// of it to act on.
#pragma once

#include <vector>

namespace velmora {

class InputDuringRun {
public:
    enum class Input { Start, Exit, Escape, Other };
    enum class Verdict {
        Act,  // no run is going: act on it now, as always
        Hold, // keep it; holds are numbered from 0 in each run, in the order they came
        Drop, // nothing comes of it
        Stop, // end the run before its next step
    };

    bool running() const { return m_running; }
    // Escape came during this run.
    bool stopping() const { return m_stopping; }

    void runBegins();
    Verdict take(Input input);
    // The numbers of the held input to act on now, in the order it came.
    std::vector<int> runEnds();

private:
    struct Held {
        Input input;
        bool cancelled = false;
    };
    void cancel(Input input);

    bool m_running = false;
    bool m_stopping = false;
    bool m_exiting = false;
    std::vector<Held> m_held;
};

} // namespace velmora
