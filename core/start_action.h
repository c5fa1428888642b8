// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Start action as a value its front end drives: begin draws the scene, each step one
// detector point (its spiral when one is due, the dot and the bar), finish places the result
// labels and tells what was drawn. It never waits: each call returns the wait the animation
// brake wants before the next step, and the front end decides how to spend it (the desktop
// sleeps, the page spreads the steps over animation frames). A run-time error stops the run
// where it is raised; the value is then spent, and finish tells the error. Escape stops a run
// the same way, before its next step, with no error.
#pragma once

#include "drawing_surface.h"
#include "parameter_store.h"
#include "presets.h"
#include "result_labels.h"
#include "run_parameters.h"
#include "run_report.h"
#include "run_time_error.h"
#include "spiral_scan.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What Explore asks of a run beyond the presets' texts.
struct ExploreSettings {
    // The run's own light and geometry (exploreParameters); none: the presets' texts give them.
    // Its bars' scale is fitted to its chains before the first bar is drawn.
    std::optional<RunParameters> parameters;
    bool theoryCurve = false; // drawn over the bars once the last is drawn
};

// How a run ended: what it drew, up to the run-time error that stopped it if one did, or up
// to where the user stopped it.
struct RunResult {
    RunReport report;
    std::optional<RunTimeError> error;
    bool stopped = false;
    RunParameters parameters; // as the run drew with them, its bars' scale included
};

class StartAction {
public:
    // The three are borrowed for the run's life; decimalPoint is the locale's separator.
    StartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                std::string decimalPoint = ".", ExploreSettings explore = {});

    // Wipes the band and draws the scene; returns the wait due before the first scan step.
    Brake begin();
    // A scan step is still due: the scan has not ended, nor has an error stopped the run.
    bool scanning() const { return !m_error && !m_stopped && m_scanY <= lastScanY; }
    // Ends the scan before its next step: what is drawn stays, and no label is placed.
    void stop() { m_stopped = scanning(); }
    // Draws the due step; returns the wait due before the next one (none after the last).
    Brake step();
    // Shows the result labels, unless an error stopped the run, and tells how it ended.
    RunResult finish();
    const std::optional<RunTimeError>& error() const { return m_error; }

private:
    Brake nextBrake();
    void fitScale();
    void drawStep();
    void drawTheoryCurve();
    template <class Part> Brake stopOnError(Part part);

    const ParameterStore& m_store;
    DrawingSurface& m_surface;
    LabelBoard& m_labels;
    std::string m_decimalPoint;
    ExploreSettings m_explore;
    RunParameters m_parameters;
    // An Explore run's chains, evaluated before its first bar to fit the bars' scale: where
    // each step's extra phasor ends, and its whole chain.
    struct ChainEnds {
        Pen extra, last;
    };
    std::vector<ChainEnds> m_ends;
    RunReport m_report;
    std::optional<RunTimeError> m_error;
    bool m_stopped = false;
    int m_scanY = firstScanY;
};

// A whole run at once: begin, every step, finish, calling wait(brake) before each step (no
// waiting when it is empty). With fewer steps than the scan has, it stops after them, as the
// run drawn again of one that was stopped must.
RunResult runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string_view decimalPoint = ".",
                         const std::function<void(Brake)>& wait = {},
                         const ExploreSettings& explore = {}, int steps = scanPoints);

} // namespace velmora
