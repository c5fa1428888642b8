// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Start action's drawing calls, recorded: what is drawn, with which state, in which order,
// the worked figures of a default run, and where a run stops on a run-time error.
#include "number_text.h"
#include "recording_surface.h"
#include "start_action.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

using namespace velmora;
using namespace velmora::testing;
using Kind = SurfaceCall::Kind;

namespace {

ParameterStore presets(std::string fi = numberToText(0.6), std::string rozteč = "350",
                       std::string spomaleni = "1") {
    return {fi, rozteč, spomaleni};
}

enum class Phase {
    Other,
    Erase,
    Source,
    Beam,
    Opening,
    Diaphragm,
    Detector,
    Axis,
    Fan,
    Chain,
    Resultant,
    Dot,
    Bar,
    Present
};

// Tells the drawing's pieces apart by geometry and colour; detector line at x = 5500.
Phase phaseOf(const SurfaceCall& c) {
    if (c.isCircle())
        return c.radius() == 100 ? Phase::Source : Phase::Dot;
    if (!c.isLine())
        return Phase::Other;
    if (c.state.scaleMode == ScaleMode::Pixels)
        return Phase::Erase;
    if (c.colour == colours::green)
        return Phase::Resultant;
    if (c.colour == colours::paleCyan) {
        if (c.x1 == 3500 && c.y1 == 3500)
            return Phase::Fan;
        return c.x1 == 3500 ? Phase::Opening : Phase::Beam; // source rays and rows interleave
    }
    if (c.x1 == 3500 && c.x2 == 3500)
        return Phase::Diaphragm;
    if (c.x1 == c.x2 && c.y1 == 1500 && c.y2 == 7500)
        return c.x1 == 5500 ? Phase::Detector : Phase::Axis;
    if (c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2)
        return Phase::Bar;
    return Phase::Chain;
}

std::vector<const SurfaceCall*> callsOf(const RecordingSurface& s, Phase phase) {
    std::vector<const SurfaceCall*> out;
    for (const SurfaceCall& c : s.calls) {
        if (phaseOf(c) == phase)
            out.push_back(&c);
    }
    return out;
}

bool near(double actual, double expected, double tolerance = 0.01) {
    return std::fabs(actual - expected) <= tolerance;
}

// One default run, shared by the read-only tests.
const RecordingSurface& defaultRun() {
    static const RecordingSurface surface = [] {
        RecordingSurface s;
        RecordingLabelBoard labels;
        runStartAction(presets(), s, labels);
        return s;
    }();
    return surface;
}

using Geometry = std::function<bool(const SurfaceCall&, int index)>;

} // namespace

TEST_CASE("default run counts") {
    const std::optional<Colour> fg; // none given: the foreground colour
    auto is = [](const SurfaceCall& c, float x1, float y1, float x2, float y2) {
        return c.x1 == x1 && c.y1 == y1 && c.x2 == x2 && c.y2 == y2;
    };
    auto filledDisc = [](const SurfaceCall& c) {
        return c.state.fillStyle == FillStyle::Solid && c.state.fillColor == colours::captionText;
    };
    const struct {
        const char* name;
        Phase phase;
        int count, drawWidth;
        std::optional<Colour> colour;
        Geometry geometry;
    } rows[] = {
        {"erase rows", Phase::Erase, 611, 1, colours::lightGrey,
         [=](const SurfaceCall& c, int i) { return is(c, 5, 40 + i, 800, 40 + i); }},
        {"source circle", Phase::Source, 1, 2, fg,
         [=](const SurfaceCall& c, int) { return c.x1 == 1700 && c.y1 == 3500 && filledDisc(c); }},
        {"source rays and beam rows", Phase::Beam, 1200, 1, colours::paleCyan,
         [=](const SurfaceCall& c, int i) {
             const float y = 7499 - 10 * (i / 2);
             return i % 2 == 0 ? is(c, 1700, 3500, 2500, y) : is(c, 2500, y, 3500, y);
         }},
        {"opening rows", Phase::Opening, 2000, 1, colours::paleCyan,
         [=](const SurfaceCall& c, int i) {
             const float y = 3500 + (i % 2 ? 1 : -1) * (i / 2 + 1);
             return is(c, 3500, y, 3600, y);
         }},
        {"diaphragm", Phase::Diaphragm, 2, 2, fg,
         [=](const SurfaceCall& c, int i) {
             return i == 0 ? is(c, 3500, 1500, 3500, 2500) : is(c, 3500, 7500, 3500, 4500);
         }},
        {"detector line", Phase::Detector, 1, 2, fg,
         [=](const SurfaceCall& c, int) { return is(c, 5500, 1500, 5500, 7500); }},
        {"plot axis", Phase::Axis, 1, 1, fg,
         [=](const SurfaceCall& c, int) { return is(c, 7500, 1500, 7500, 7500); }},
        {"ray fan", Phase::Fan, 13, 1, colours::paleCyan,
         [=](const SurfaceCall& c, int i) { return is(c, 3500, 3500, 5500, 7499 - 500 * i); }},
        {"chain segments, one StepLength long", Phase::Chain, 24245, 1, fg,
         [](const SurfaceCall& c, int) {
             return near(std::hypot(c.x2 - c.x1, c.y2 - c.y1), 1, 1e-3);
         }},
        {"resultants from the detector point", Phase::Resultant, 12, 2, colours::green,
         [](const SurfaceCall& c, int i) { return c.x1 == 5500 && c.y1 == 7000 - 500 * i; }},
        {"dots", Phase::Dot, 221, 2, fg,
         [=](const SurfaceCall& c, int i) {
             return c.x1 == 7500 && c.y1 == 7000 - 25 * i && c.radius() == 1 && filledDisc(c);
         }},
        {"bars pointing right", Phase::Bar, 221, 2, fg,
         [](const SurfaceCall& c, int i) { return c.y1 == 7000 - 25 * i && c.x2 >= 7500; }},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        const auto calls = callsOf(defaultRun(), r.phase);
        REQUIRE(int(calls.size()) == r.count);
        for (int i = 0; i < r.count; ++i) {
            CAPTURE(i);
            const SurfaceCall& c = *calls[i];
            CHECK(c.state.drawWidth == r.drawWidth);
            CHECK(c.colour == r.colour);
            CHECK(c.state.scaleMode ==
                  (r.phase == Phase::Erase ? ScaleMode::Pixels : ScaleMode::Twips));
            CHECK(r.geometry(c, i));
        }
    }
    CHECK(defaultRun().nonFiniteArguments == 0);
}

TEST_CASE("drawing order and final state") {
    // 55556 units wait just over a millisecond a step, the shortest pause shown step by step.
    const struct {
        const char* name;
        const char* delayCount;
        bool presentEveryStep;
    } rows[] = {{"no pause: shown with each spiral", "1", false},
                {"a pause: every step shown before it", "55556", true}};
    for (const auto& r : rows) {
        CAPTURE(r.name);
        RecordingSurface surface;
        RecordingLabelBoard labels(&surface);
        runStartAction(presets(numberToText(0.6), "350", r.delayCount), surface, labels);

        std::vector<Phase> expected{Phase::Erase,     Phase::Source,   Phase::Beam, Phase::Opening,
                                    Phase::Diaphragm, Phase::Detector, Phase::Axis, Phase::Fan};
        if (r.presentEveryStep)
            expected.push_back(Phase::Present); // the scene, before the first pause
        for (int scanY = 500; scanY <= 6000; scanY += 25) {
            expected.push_back(Phase::Chain);
            if (scanY % 500 == 0)
                expected.push_back(Phase::Resultant);
            expected.insert(expected.end(), {Phase::Dot, Phase::Bar});
            if (r.presentEveryStep || scanY % 500 == 0)
                expected.push_back(Phase::Present);
        }
        std::vector<Phase> runs;
        for (const SurfaceCall& c : surface.calls) {
            const Phase p = c.kind == Kind::Present ? Phase::Present : phaseOf(c);
            if (p != Phase::Other && (runs.empty() || runs.back() != p))
                runs.push_back(p);
        }
        CHECK(runs == expected);

        const std::size_t all = surface.calls.size();
        const std::vector<ShownLabel> shown{{ResultLabel::labClona, 2300, 1000, all},
                                            {ResultLabel::labDetektorB, 5500, 1000, all},
                                            {ResultLabel::labPravděpodobnost, 8000, 990, all},
                                            {ResultLabel::labZdroj, 850, 3400, all}};
        CHECK(labels.shown == shown);
        CHECK(surface.state() ==
              (DrawState{ScaleMode::Twips, 1, colours::captionText, FillStyle::Solid}));
    }
}

TEST_CASE("second run erases at width one") {
    // A surface left at width 2 by something else: the band keeps whatever width is current.
    RecordingSurface surface({ScaleMode::Pixels, 2, 0, FillStyle::Transparent});
    RecordingLabelBoard labels;
    std::vector<std::vector<SurfaceCall>> runs;
    for (int run = 0; run < 3; ++run) {
        runStartAction(presets(), surface, labels);
        runs.push_back(std::exchange(surface.calls, {}));
    }
    auto eraseWidths = [](const std::vector<SurfaceCall>& calls) {
        std::vector<int> widths;
        for (const SurfaceCall& c : calls) {
            if (phaseOf(c) == Phase::Erase)
                widths.push_back(c.state.drawWidth);
        }
        return widths;
    };
    CHECK(eraseWidths(runs[0]) == std::vector<int>(611, 2));
    CHECK(eraseWidths(runs[1]) == std::vector<int>(611, 1));
    CHECK(runs[1] == runs[2]); // the same presets repeat exactly the same calls
}

TEST_CASE("Escape after the last step stops nothing") {
    RecordingSurface surface;
    RecordingLabelBoard labels;
    const ParameterStore store = presets(); // borrowed by the run
    StartAction run(store, surface, labels);
    for (run.begin(); run.scanning(); run.step()) {
    }
    run.stop();
    CHECK(!run.finish().stopped);
    CHECK(labels.shown.size() == 4);
}

TEST_CASE("worked figures") {
    const struct {
        const char* name;
        Phase phase;
        float startX, startY;
        double endX, endY;
    } rows[] = {
        {"extra phasor at 4000", Phase::Chain, 5500, 4000, 5500.8623, 3999.4936},
        {"resultant at 4000", Phase::Resultant, 5500, 4000, 6016.2496, 4161.2949},
        {"bar at 4000", Phase::Bar, 7500, 4000, 7500 + 2632.77, 4000},
        {"bar at 3975", Phase::Bar, 7500, 3975, 7500 + 2418.10, 3975},
        {"extra phasor at 3975", Phase::Chain, 5500, 3975, 5500.8623, 3974.4936},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        const auto calls = callsOf(defaultRun(), r.phase);
        const auto it = std::find_if(calls.begin(), calls.end(), [&](const SurfaceCall* c) {
            return c->x1 == r.startX && c->y1 == r.startY;
        });
        REQUIRE(it != calls.end());
        CAPTURE((*it)->x2);
        CAPTURE((*it)->y2);
        CHECK((near((*it)->x2, r.endX) && near((*it)->y2, r.endY)));
    }
}

TEST_CASE("scan shape") {
    // Longest and shortest bar of a default run.
    const auto bars = callsOf(defaultRun(), Phase::Bar);
    const auto [shortest, longest] =
        std::minmax_element(bars.begin(), bars.end(), [](auto a, auto b) { return a->x2 < b->x2; });
    CHECK(near((*longest)->x2 - 7500, 3457.5, 0.05));
    CHECK(near((*shortest)->x2 - 7500, 0.37, 0.005));

    // Each spiral's segments join end to end; the extra phasor points the same way at every step.
    const SurfaceCall* previous = nullptr;
    int extras = 0;
    for (const SurfaceCall& c : defaultRun().calls) {
        if (phaseOf(c) != Phase::Chain) {
            previous = nullptr;
            continue;
        }
        if (previous) {
            REQUIRE(c.x1 == previous->x2);
            REQUIRE(c.y1 == previous->y2);
        } else {
            ++extras;
            REQUIRE((c.x1 == 5500 && near(c.x2 - c.x1, 0.8623, 1e-3) &&
                     near(c.y2 - c.y1, -0.5064, 1e-3)));
        }
        previous = &c;
    }
    CHECK(extras == 221);
}

TEST_CASE("unmatched presets") {
    const struct {
        const char* name;
        std::string fi, rozteč;
        double barFactor; // relative to the default run's bars
    } rows[] = {
        {"frequency written with a comma", "0,6", "350", 0},
        {"frequency empty", "", "350", 0},
        {"distance 350 with a leading zero", numberToText(0.6), "0350", 1 / 0.009},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        RecordingSurface surface;
        RecordingLabelBoard labels;
        runStartAction(presets(r.fi, r.rozteč), surface, labels);

        CHECK(callsOf(surface, Phase::Detector).size() == 1); // still at x = 5500
        CHECK(callsOf(surface, Phase::Dot).size() == 221);
        const auto bars = callsOf(surface, Phase::Bar);
        const auto defaultBars = callsOf(defaultRun(), Phase::Bar);
        REQUIRE(bars.size() == defaultBars.size());
        for (std::size_t i = 0; i < bars.size(); ++i) {
            CAPTURE(i);
            const double expected = (defaultBars[i]->x2 - 7500) * r.barFactor;
            CHECK(near(bars[i]->x2 - 7500, expected, 1e-3 * std::max(r.barFactor, 1.0)));
        }
        if (r.barFactor == 0) {
            for (Phase p : {Phase::Chain, Phase::Resultant}) {
                for (const SurfaceCall* c : callsOf(surface, p))
                    CHECK((c->x1 == c->x2 && c->y1 == c->y2));
            }
        }
    }
}

TEST_CASE("run-time errors") {
    const std::string mismatch = "Run-time error '13': Type mismatch";
    const std::string overflow = "Run-time error '6': Overflow";
    const int erase = 611, scene = 611 + 1200 + 2000 + 2 + 1 + 1 + 13;
    const struct {
        const char* name;
        std::string rozteč, spomaleni, message;
        int lines;
    } rows[] = {
        {"distance not a number", "abc", "1", mismatch, erase},
        {"distance empty", "", "1", mismatch, erase},
        {"distance product overflows", "1e308", "1", overflow, erase},
        {"distance infinite", "inf", "1", overflow, erase},
        {"distance NaN", "nan", "1", overflow, erase},
        // Finite in double, but the detector line cannot be handed over in single precision.
        {"distance beyond single precision", "1e200", "1", overflow, erase + 1200 + 2000 + 2},
        {"delay not a number", "350", "abc", mismatch, scene},
        {"delay NaN", "350", "nan", overflow, scene},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        RecordingSurface surface;
        RecordingLabelBoard labels;
        const RunResult result =
            runStartAction(presets(numberToText(0.6), r.rozteč, r.spomaleni), surface, labels);
        REQUIRE(result.error);
        CHECK(result.error->message() == r.message);
        const auto count = [&](Kind kind) {
            return std::count_if(surface.calls.begin(), surface.calls.end(),
                                 [&](const SurfaceCall& c) { return c.kind == kind; });
        };
        CHECK(count(Kind::Line) == r.lines);
        CHECK(count(Kind::Circle) == 1); // the source only: no scan step drew its dot
        CHECK(count(Kind::Present) == 0);
        CHECK(surface.nonFiniteArguments == 0);
        CHECK(labels.shown.empty());
    }
}

namespace {
// Bar length straight from the phasor sum, independent of the scan's own walk.
double referenceBar(double step, double phase, double detectorX, double detectorY, double scale) {
    double x = step * std::cos(phase * (detectorX - 3500));
    double y = step * std::sin(phase * (detectorX - 3500));
    for (int s = 0; s <= 1000; ++s) {
        for (const double sampleY : {3500.0 - s, 3500.0 + s}) {
            const double r = std::hypot(detectorX - 3500, sampleY - detectorY);
            x += step * std::cos(phase * r);
            y += step * std::sin(phase * r);
        }
    }
    return (x * x + y * y) * scale;
}
} // namespace

TEST_CASE("every preset in every locale") {
    const struct {
        const char* name;
        std::string point;
    } locales[] = {{"en", "."}, {"cs", ","}, {"ar", "\u066B"}, {"fa", "\u066B"}};
    // What the option buttons write: whole numbers as plain digits, fractions by numberToText.
    const struct {
        const char* caption;
        double preset, stepLength, phaseFactor;
    } frequencies[] = {{"higher", 5, 10, 5},
                       {"high", 1, 1.5, 0.1},
                       {"middle", 0.6, 1, 0.05},
                       {"low", 0.2, 0.4, 0.01},
                       {"lower", 0.03, 0.18, 0.0015}};
    const struct {
        const char* text;
        double detectorX, scale;
    } distances[] = {{"300", 4500, 0.017}, {"350", 5500, 0.009}, {"400", 6500, 0.006}};
    for (const auto& locale : locales) {
        for (const auto& f : frequencies) {
            const std::string fi = f.preset >= 1 ? std::to_string(int(f.preset))
                                                 : numberToText(f.preset, locale.point);
            for (const auto& d : distances) {
                CAPTURE(locale.name);
                CAPTURE(f.caption);
                CAPTURE(d.text);
                RecordingSurface surface;
                RecordingLabelBoard labels;
                runStartAction(presets(fi, d.text), surface, labels, locale.point);

                int resultants = 0;
                std::vector<const SurfaceCall*> bars;
                for (const SurfaceCall& c : surface.calls) {
                    if (c.isLine() && c.colour == colours::green) {
                        ++resultants;
                        CHECK(c.x1 == float(d.detectorX));
                        CHECK((c.x1 != c.x2 || c.y1 != c.y2)); // a resultant of some length
                    } else if (c.isLine() && c.x1 == 7500 && c.y1 == c.y2 &&
                               c.state.drawWidth == 2) {
                        bars.push_back(&c);
                    }
                }
                CHECK(resultants == 12);
                REQUIRE(bars.size() == 221);
                for (const int i : {0, 120, 220}) { // y = 7000, a spiral step at 4000, y = 1500
                    const double expected = referenceBar(f.stepLength, f.phaseFactor, d.detectorX,
                                                         bars[i]->y1, d.scale);
                    CAPTURE(bars[i]->y1);
                    CHECK(near(bars[i]->x2 - 7500, expected, std::max(0.01, 1e-6 * expected)));
                }
            }
        }
    }
}
