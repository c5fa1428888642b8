// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run stepped as a page steps it, a few steps per animation frame, draws exactly what a run
// driven to its end at once draws; and a label position no label can take stops the run with
// an overflow instead of wrapping around.
#include "number_text.h"
#include "recording_surface.h"
#include "start_action.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Recorded {
    RecordingSurface surface;
    RecordingLabelBoard labels{&surface};
    std::vector<std::uint32_t> brakes;
    RunResult result;
};

// Steps `perFrame` at a time, as a page does between animation frames, keeping each brake.
void stepped(const ParameterStore& store, const std::string& point, int perFrame, Recorded& out) {
    StartAction run(store, out.surface, out.labels, point);
    out.brakes.push_back(run.begin().count);
    while (run.scanning()) {
        for (int i = 0; i < perFrame && run.scanning(); ++i)
            out.brakes.push_back(run.step().count);
    }
    out.result = run.finish();
}

} // namespace

TEST_CASE("stepping draws what a whole run draws") {
    const struct {
        const char* name;
        double fi;
        const char* rozteč;
        const char* spomaleni;
        std::string point;
    } presets[] = {
        {"middle 350", 0.6, "350", "1", "."},
        {"higher 300, Czech", 5, "300", "983011", ","},
        {"lower 400, Persian", 0.03, "400", "0", "\u066B"},
        {"high 350, a brake of 2 ms", 1, "350", "111112", "."},
    };
    for (const auto& p : presets) {
        CAPTURE(p.name);
        const ParameterStore store{numberToText(p.fi, p.point), p.rozteč, p.spomaleni};
        Recorded whole;
        whole.result = runStartAction(store, whole.surface, whole.labels, p.point,
                                      [&](Brake b) { whole.brakes.push_back(b.count); });
        for (int perFrame : {1, 7, 221}) {
            CAPTURE(perFrame);
            Recorded frames;
            stepped(store, p.point, perFrame, frames);
            CHECK(frames.surface.calls == whole.surface.calls);
            CHECK(frames.labels.shown == whole.labels.shown);
            CHECK(frames.result.report.intensities == whole.result.report.intensities);
            // The page's brakes: one before every step, then none after the last.
            CHECK(frames.brakes.size() == whole.brakes.size() + 1);
            CHECK(frames.brakes.back() == 0);
        }
        CHECK(whole.brakes.size() == 221);
        CHECK(whole.result.report.intensities.size() == 221);
        CHECK(!whole.result.error);
        CHECK(whole.result.report.frequencyCaption != "");
        const std::uint32_t count = whole.brakes.front();
        CHECK(Brake{count}.wait() == count * std::chrono::nanoseconds(18));
    }
}

TEST_CASE("label positions beyond a pixel overflow") {
    for (const char* rozteč : {"1e10", "-1e10", "1e30"}) {
        CAPTURE(rozteč);
        RecordingSurface surface;
        PlacedLabels labels;
        const RunResult result = runStartAction({"0.6", rozteč, "0"}, surface, labels);
        REQUIRE(result.error);
        CHECK(result.error->number() == 6);
        // labClona was placed; the detector label's Left was the failed write, and kept nothing.
        REQUIRE(labels.places.size() == 2);
        CHECK(labels.places[0].top == 1000.0f);
        CHECK(labels.places[1].label == ResultLabel::labDetektorB);
        CHECK(!labels.places[1].left);
    }
    CHECK(labelPixel(2147483647.0 * 15, 15) == 2147483647);
}
