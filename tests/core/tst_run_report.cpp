// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a run reports back, and the sentences a listener hears about it: the bars really drawn,
// the maxima counted from them, and the exact wording for two preset pairs and a blank run.
#include "number_text.h"
#include "recording_surface.h"
#include "run_report.h"
#include "start_action.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>

using namespace velmora;
using namespace velmora::testing;

namespace {
RunReport run(double fi, const std::string& rozteč) {
    RecordingSurface surface;
    RecordingLabelBoard labels;
    return runStartAction({numberToText(fi), rozteč, "0"}, surface, labels).report;
}
} // namespace

TEST_CASE("default run reports its bars") {
    const RunReport report = run(0.6, "350");
    CHECK(report.frequencyCaption == "middle");
    CHECK(report.distanceCaption == "350");
    CHECK(report.detectorX == 5500.0);
    REQUIRE(report.intensities.size() == 221);
    // Bottom to top: ScanY 3500 is the 121st step, y = 4000.
    CHECK(std::fabs(report.intensities[120] - 2632.77) < 0.01);
    CHECK(std::fabs(report.intensities[121] - 2418.10) < 0.01);
    CHECK(std::fabs(*std::max_element(report.intensities.begin(), report.intensities.end()) -
                    3457.5) < 0.1);
    CHECK(std::fabs(*std::min_element(report.intensities.begin(), report.intensities.end()) -
                    0.37) < 0.01);
}

TEST_CASE("maxima") {
    const struct {
        const char* name;
        std::vector<double> bars;
        std::vector<int> peaks; // indexes, strongest first
    } rows[] = {
        {"flat", std::vector<double>(5, 0.0), {}},
        {"plateau counts once, at its middle", {0, 5, 5, 5, 0}, {2}},
        {"ripple under a twentieth is no maximum", {0, 100, 50, 54, 50, 80, 0}, {1, 5}},
        {"rising to the detector's end", {1, 2, 3, 10}, {3}},
        {"strongest first", {0, 3, 0, 9, 0, 6, 0}, {3, 5, 1}},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        std::vector<int> found;
        for (const PatternPeak& peak : patternMaxima(r.bars))
            found.push_back(peak.index);
        CHECK(found == r.peaks);
    }
}

TEST_CASE("wording") {
    const struct {
        const char* name;
        double fi;
        std::string rozteč, summary;
    } rows[] = {
        {"middle 350, the default", 0.6, "350",
         "Drawn with frequency middle and distance 350. The intensity pattern along the detector "
         "has 4 maxima. The strongest are two equal maxima, symmetric about the optical axis, 10% "
         "of the detector's height above and below it. The others reach 91% of them."},
        {"low 350, one maximum", 0.2, "350",
         "Drawn with frequency low and distance 350. The intensity pattern along the detector has "
         "1 maximum. The strongest lies on the optical axis. It is the only one; away from it the "
         "bars fall to 1% of its length."},
        {"frequency text no preset: nothing drawn", 0.7, "350",
         "Drawn with a frequency that is no preset and distance 350. Every intensity bar has "
         "length 0: no pattern was drawn."},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        CHECK(describeRun(run(r.fi, r.rozteč)) == r.summary);
    }
}

TEST_CASE("wording of a stopped run") {
    RecordingSurface surface;
    NoLabels labels;
    const RunResult result =
        runStartAction({numberToText(0.6), "350", "0"}, surface, labels, ".", {}, {}, 57);
    CHECK(describeStoppedRun(result.report) ==
          "The run with frequency middle and distance 350 was stopped after 57 of the 221 "
          "detector points: the intensity pattern reaches 25% of the detector's height, and the "
          "picture is incomplete.");
}

// Positions no preset produces: off the axis alone, and a pair not mirrored in it. The optical
// axis crosses the detector at its 141st point from the bottom.
TEST_CASE("positions") {
    const struct {
        const char* name;
        std::vector<int> peaks; // indexes of equally strong maxima
        std::string position;
    } rows[] = {
        {"one, above the axis",
         {162},
         "The strongest lies 10% of the detector's height above the optical axis."},
        {"two, one below the axis and one on it",
         {140, 96},
         "The strongest are two equal maxima, on the optical axis and 20% of the detector's "
         "height below the optical axis."},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        RunReport report{"middle", "350", 5500, std::vector<double>(221, 1.0)};
        for (int i : r.peaks)
            report.intensities[std::size_t(i)] = 100;
        const std::string text = describeRun(report);
        CHECK_MESSAGE(text.find(r.position) != std::string::npos, text);
    }
}
