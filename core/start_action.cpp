// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "start_action.h"

#include "explore.h"
#include "phasor_chain.h"
#include "phasor_kernel.h"
#include "run_time_error.h"
#include "scene.h"
#include "theory_curve.h"

#include <algorithm>

namespace velmora {

namespace {
void line(DrawingSurface& s, Pen a, Pen b, std::optional<Colour> colour = std::nullopt) {
    s.Line(toSingle(a.x), toSingle(a.y), toSingle(b.x), toSingle(b.y), colour);
}
} // namespace

StartAction::StartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string decimalPoint, ExploreSettings explore)
    : m_store(store), m_surface(surface), m_labels(labels), m_decimalPoint(std::move(decimalPoint)),
      m_explore(std::move(explore)) {}

template <class Part> Brake StartAction::stopOnError(Part part) {
    try {
        part();
        return nextBrake();
    } catch (const RunTimeError& error) {
        m_error = error;
        return {};
    }
}

Brake StartAction::begin() {
    return stopOnError([this] {
        clearUpperVectorState(); // see phasor_kernel.cpp: the scene's drawing is scalar code too
        scene::drawSource(m_surface);
        if (m_explore.parameters) {
            m_parameters = *m_explore.parameters;
            m_report.values = explore::valuesText(m_parameters, m_decimalPoint);
        } else {
            // The distance text is read here, between the source and the rest of the scene.
            m_parameters = runParametersFor(m_store, m_decimalPoint);
            m_report.distanceCaption = m_store.nRozteč;
            m_report.frequencyCaption = frequencyCaptionFor(m_store.nFi, m_decimalPoint);
        }
        scene::drawApparatus(m_surface, m_parameters.detectorX, m_parameters.halfAperture);
        m_report.detectorX = m_parameters.detectorX;
        if (m_explore.parameters)
            fitScale();
        m_report.intensities.reserve(scanPoints);
    });
}

// Every chain's end before the first bar, so that the longest bar is known: the steps then
// reuse them, and only the spirals' chains are evaluated again, to be drawn.
void StartAction::fitScale() {
    ChainPens pens;
    m_ends.reserve(scanPoints);
    double largest = 0;
    for (int i = 0; i < scanPoints; ++i) {
        const double detectorY = scanPointY(i);
        evaluateChain(m_parameters, detectorY, pens);
        const ChainEnds ends{{pens.x[1], pens.y[1]}, {pens.x[chainLength], pens.y[chainLength]}};
        m_ends.push_back(ends);
        const double dx = m_parameters.detectorX - ends.last.x;
        const double dy = detectorY - ends.last.y;
        largest = std::max(largest, dx * dx + dy * dy);
    }
    m_parameters.intensityScale = fittedIntensityScale(m_parameters, largest);
}

// The count is read before every step.
Brake StartAction::nextBrake() {
    if (!scanning())
        return {};
    const Brake brake{delayCountFor(m_store.nSpomaleni, m_decimalPoint)};
    if (brake.wait() >= perceptibleWait)
        m_surface.present(); // what is drawn so far shows before a pause the class can see
    return brake;
}

Brake StartAction::step() {
    if (!scanning())
        return {};
    return stopOnError([this] { drawStep(); });
}

void StartAction::drawStep() {
    using namespace scene;
    DrawingSurface& s = m_surface;
    const double detectorX = m_parameters.detectorX;
    const bool spiralStep = m_scanY % spiralEvery == 0;
    const double detectorY = sceneBottom - m_scanY;
    const Pen detector{detectorX, detectorY};
    Pen end;
    if (!m_ends.empty() && !spiralStep) {
        const ChainEnds& ends = m_ends[std::size_t((m_scanY - firstScanY) / scanStep)];
        line(s, detector, ends.extra);
        end = ends.last;
    } else {
        end = walkPhasorChain(m_parameters, detectorY, [&](Pen from, Pen to, bool extra) {
            if (extra || spiralStep)
                line(s, from, to);
        });
    }

    s.setDrawWidth(2);
    if (spiralStep)
        line(s, detector, end, colours::green);
    s.Circle(toSingle(plotX), toSingle(detectorY), 1);
    s.setDrawWidth(1);

    const double dx = detectorX - end.x;
    const double dy = detectorY - end.y;
    const double squared = dx * dx + dy * dy;
    const double intensity = squared * m_parameters.intensityScale.value_or(1.0);

    s.setDrawWidth(2);
    line(s, {plotX, detectorY}, {plotX + intensity, detectorY});
    m_report.intensities.push_back(intensity);
    s.setDrawWidth(1);
    if (m_scanY == lastScanY && m_explore.theoryCurve)
        drawTheoryCurve();
    // Without a pause, steps come far faster than a display refreshes, and each repaint
    // costs the window system a wake-up: they are shown 20 at a time, with each spiral.
    // The last step draws a spiral too.
    if (spiralStep)
        s.present();
    m_scanY += scanStep;
}

// Over all the bars, on their scale: what the chains would add up to with a continuous opening.
void StartAction::drawTheoryCurve() {
    const std::vector<double> theory = theoryIntensities(m_parameters);
    for (int i = 0; i + 1 < scanPoints; ++i) {
        line(m_surface, {scene::plotX + theory[std::size_t(i)], double(scanPointY(i))},
             {scene::plotX + theory[std::size_t(i + 1)], double(scanPointY(i + 1))}, colours::red);
    }
}

RunResult StartAction::finish() {
    if (!m_error && !m_stopped)
        stopOnError([this] { placeResultLabels(m_labels, m_report.detectorX); });
    return {std::move(m_report), m_error, m_stopped, m_parameters};
}

RunResult runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string_view decimalPoint, const std::function<void(Brake)>& wait,
                         const ExploreSettings& explore, int steps) {
    StartAction run(store, surface, labels, std::string(decimalPoint), explore);
    for (Brake brake = run.begin(); run.scanning(); brake = run.step()) {
        if (steps-- <= 0) {
            run.stop();
            break;
        }
        if (wait)
            wait(brake);
    }
    return run.finish();
}

} // namespace velmora
