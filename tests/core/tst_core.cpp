// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core on its own, without any toolkit: a run stepped as a page steps it, a few steps per
// animation frame, draws exactly what a run driven to its end at once draws; and a label
// position no label can take stops the run with an overflow instead of wrapping around.
#include "number_text.h"
#include "recording_surface.h"
#include "run_time_error.h"
#include "start_action.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::testing;

namespace {

int failures = 0;

void check(bool holds, const std::string& what) {
    if (!holds) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

struct Recorded {
    RecordingSurface surface;
    RecordingLabelBoard labels{&surface};
    std::vector<std::uint32_t> brakes;
    RunReport report;
};

// A label board that places labels in whole pixels, as the front ends do.
struct PixelLabelBoard : RecordingLabelBoard {
    void showLabel(ResultLabel label, float left, float top) override {
        shown.push_back({label, left, top, 0});
        labelPixel(left, 15);
        labelPixel(top, 15);
    }
};

struct Preset {
    const char* name;
    double fi;
    const char* rozteč;
    const char* spomaleni;
    const char* point;
};

// Steps `perFrame` at a time, as a page does between animation frames, keeping each brake.
void stepped(const PresetTexts& texts, const char* point, int perFrame, Recorded& out) {
    StartAction run(texts, out.surface, out.labels, point);
    out.brakes.push_back(run.begin().count);
    while (run.scanning()) {
        for (int i = 0; i < perFrame && run.scanning(); ++i)
            out.brakes.push_back(run.step().count);
    }
    out.report = run.finish();
}

void steppingDrawsWhatAWholeRunDraws() {
    const Preset presets[] = {
        {"middle 350", 0.6, "350", "1", "."},
        {"higher 300, Czech", 5, "300", "983011", ","},
        {"lower 400, Persian", 0.03, "400", "0", "\u066B"},
        {"high 350, a brake of 2 ms", 1, "350", "111112", "."},
    };
    for (const Preset& p : presets) {
        const PresetTexts texts(numberToText(p.fi, p.point), p.rozteč, p.spomaleni);
        Recorded whole;
        whole.report = runStartAction(texts, whole.surface, whole.labels, p.point,
                                      [&](Brake b) { whole.brakes.push_back(b.count); });
        for (int perFrame : {1, 7, 221}) {
            Recorded frames;
            stepped(texts, p.point, perFrame, frames);
            const std::string name =
                std::string(p.name) + ", " + std::to_string(perFrame) + " steps a frame";
            check(frames.surface.calls == whole.surface.calls, name + ": the same drawing calls");
            check(frames.labels.shown == whole.labels.shown, name + ": the same labels");
            check(frames.report.intensities == whole.report.intensities, name + ": the same bars");
            // The page's brakes: one before every step, then none after the last.
            check(frames.brakes.size() == whole.brakes.size() + 1 && frames.brakes.back() == 0,
                  name + ": a brake before each step");
        }
        check(whole.brakes.size() == 221 && whole.report.intensities.size() == 221,
              std::string(p.name) + ": 221 steps");
        check(whole.report.frequencyCaption != "", std::string(p.name) + ": preset recognised");
        const std::uint32_t count = whole.brakes.front();
        check(Brake{count}.wait() == count * std::chrono::nanoseconds(18),
              std::string(p.name) + ": 18 ns a unit");
    }
}

void labelPositionsBeyondAPixelOverflow() {
    const char* distances[] = {"1e10", "-1e10", "1e30"};
    for (const char* rozteč : distances) {
        RecordingSurface surface;
        PixelLabelBoard labels;
        int error = 0;
        try {
            runStartAction(PresetTexts("0.6", rozteč, "0"), surface, labels);
        } catch (const RunTimeError& e) {
            error = e.number();
        }
        const std::string name = std::string("distance ") + rozteč;
        check(error == 6, name + ": Overflow");
        // labClona was placed; the detector label's Left was the failed write.
        check(labels.shown.size() == 2 && labels.shown[1].label == ResultLabel::labDetektorB,
              name + ": stops at the detector label");
    }
    check(labelPixel(2147483647.0 * 15, 15) == 2147483647, "the largest position still fits");
}

} // namespace

int main() {
    steppingDrawsWhatAWholeRunDraws();
    labelPositionsBeyondAPixelOverflow();
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
