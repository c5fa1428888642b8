// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Start action as a value its front end drives: begin draws the scene, each step one
// detector point (its spiral when one is due, the dot and the bar), finish places the result
// labels and tells what was drawn. It never waits: each call returns the wait the animation
// brake wants before the next step, and the front end decides how to spend it (the desktop
// busy-waits, the page spreads the steps over animation frames). A RunTimeError stops the run
// where it is raised; the value is then spent.
#pragma once

#include "drawing_surface.h"
#include "parameter_store.h"
#include "presets.h"
#include "result_labels.h"
#include "run_report.h"
#include "spiral_scan.h"

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

class StartAction {
public:
    // The three are borrowed for the run's life; decimalPoint is the locale's separator.
    StartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                std::string decimalPoint = ".");

    // Wipes the band and draws the scene; returns the wait due before the first scan step.
    Brake begin();
    // A scan step is still due.
    bool scanning() const { return m_scanY <= lastScanY; }
    // Draws the due step; returns the wait due before the next one (none after the last).
    Brake step();
    // Shows the result labels and returns the report.
    RunReport finish();

private:
    Brake nextBrake();

    const ParameterStore& m_store;
    DrawingSurface& m_surface;
    LabelBoard& m_labels;
    std::string m_decimalPoint;
    Frequency m_frequency;
    RunReport m_report;
    int m_scanY = firstScanY;
};

// A whole run at once: begin, every step, finish, calling wait(brake) before each step (no
// waiting when it is empty). Returns what the run drew; a RunTimeError leaves no report.
RunReport runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string_view decimalPoint = ".",
                         const std::function<void(Brake)>& wait = {});

} // namespace velmora
