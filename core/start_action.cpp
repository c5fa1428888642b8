// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "start_action.h"

#include "phasor_chain.h"
#include "phasor_kernel.h"
#include "run_time_error.h"
#include "scene.h"

namespace velmora {

StartAction::StartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string decimalPoint)
    : m_store(store), m_surface(surface), m_labels(labels),
      m_decimalPoint(std::move(decimalPoint)) {}

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
        m_report.detectorX = scene::drawScene(m_surface, m_store, m_decimalPoint);
        m_report.distanceCaption = m_store.nRozteč;
        m_frequency = frequencyFor(m_store.nFi, m_decimalPoint);
        m_report.frequencyCaption = frequencyCaptionFor(m_store.nFi, m_decimalPoint);
        m_report.intensities.reserve(scanPoints);
    });
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
    auto line = [&s](Pen a, Pen b, std::optional<Colour> colour = std::nullopt) {
        s.Line(toSingle(a.x), toSingle(a.y), toSingle(b.x), toSingle(b.y), colour);
    };
    const double detectorX = m_report.detectorX;
    const bool spiralStep = m_scanY % spiralEvery == 0;
    const double detectorY = sceneBottom - m_scanY;
    const Pen detector{detectorX, detectorY};
    const Pen end =
        walkPhasorChain(detectorX, detectorY, m_frequency, [&](Pen from, Pen to, bool extra) {
            if (extra || spiralStep)
                line(from, to);
        });

    s.setDrawWidth(2);
    if (spiralStep)
        line(detector, end, colours::green);
    s.Circle(toSingle(plotX), toSingle(detectorY), 1);
    s.setDrawWidth(1);

    const double dx = detectorX - end.x;
    const double dy = detectorY - end.y;
    const double squared = dx * dx + dy * dy;
    const double intensity = squared * intensityScaleFor(m_store.nRozteč).value_or(1.0);

    s.setDrawWidth(2);
    line({plotX, detectorY}, {plotX + intensity, detectorY});
    m_report.intensities.push_back(intensity);
    s.setDrawWidth(1);
    // Without a pause, steps come far faster than a display refreshes, and each repaint
    // costs the window system a wake-up: they are shown 20 at a time, with each spiral.
    // The last step draws a spiral too.
    if (spiralStep)
        s.present();
    m_scanY += scanStep;
}

RunResult StartAction::finish() {
    if (!m_error && !m_stopped)
        stopOnError([this] { placeResultLabels(m_labels, m_report.detectorX); });
    return {std::move(m_report), m_error, m_stopped};
}

RunResult runStartAction(const ParameterStore& store, DrawingSurface& surface, LabelBoard& labels,
                         std::string_view decimalPoint, const std::function<void(Brake)>& wait,
                         int steps) {
    StartAction run(store, surface, labels, std::string(decimalPoint));
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
