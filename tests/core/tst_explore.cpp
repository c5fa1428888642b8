// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs with Explore's values: a preset's values typed as shown run that preset call for call,
// free values draw their own opening and fit their bars into the plot, the theory curve goes
// over the bars, and the panel's sliders reach every preset and both ends of their ranges.
#include "explore.h"
#include "phasor_chain.h"
#include "recording_surface.h"
#include "start_action.h"
#include "theory_curve.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <string>

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Recorded {
    RecordingSurface surface;
    RecordingLabelBoard labels{&surface};
    RunResult result;
    Recorded(const ParameterStore& store, const ExploreSettings& explore, const char* point = ".")
        : result(runStartAction(store, surface, labels, point, {}, explore)) {}
};

double twipsOf(const std::string& text, Quantity quantity) {
    const LengthReading reading = readLength(text, quantity);
    REQUIRE_MESSAGE(reading.ok(), reading.error);
    return reading.twips;
}

bool isBar(const SurfaceCall& c) {
    return c.isLine() && !c.colour && c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2;
}

} // namespace

TEST_CASE("a preset's values, typed as shown, run that preset call for call") {
    for (const char* fi : {"5", "1", "0,6", "0,2", "0,03"}) {
        for (const char* rozteč : {"300", "350", "400"}) {
            INFO((std::string(fi) + " at " + rozteč));
            const ParameterStore store{fi, rozteč, "1"};
            const RunParameters p = runParametersFor(store, ",");
            const ExploreValues typed{
                twipsOf(wavelengthText(p.wavelength()), Quantity::Wavelength),
                twipsOf(lengthText(2 * p.halfAperture), Quantity::ApertureWidth),
                twipsOf(lengthText(p.distance()), Quantity::DetectorDistance)};
            const Recorded preset(store, {}, ","), explored(store, {exploreParameters(typed)}, ",");
            CHECK(preset.surface.calls == explored.surface.calls);
            CHECK(preset.labels.shown == explored.labels.shown);
            if (std::string(fi) == "0,6" && std::string(rozteč) == "350") {
                CHECK(describeRun(explored.result.report)
                          .starts_with("Drawn with wavelength 550 nm, aperture width 8,754 µm "
                                       "and detector distance 8,754 µm. The intensity"));
            }
        }
    }
}

TEST_CASE("the theory curve goes over the bars once the last is drawn") {
    const ParameterStore store{"0.2", "400", "1"};
    const Recorded plain(store, {}), withCurve(store, {std::nullopt, true});
    const std::vector<SurfaceCall>& calls = withCurve.surface.calls;
    // The plain run's calls, with 220 segments after the last bar and the width it leaves.
    const long start =
        (std::find_if(calls.rbegin(), calls.rend(), isBar).base() - calls.begin()) + 1;
    REQUIRE(calls.size() == plain.surface.calls.size() + 220);
    CHECK(std::equal(calls.begin(), calls.begin() + start, plain.surface.calls.begin()));
    CHECK(
        std::equal(calls.begin() + start + 220, calls.end(), plain.surface.calls.begin() + start));
    const std::vector<double> theory = theoryIntensities(withCurve.result.parameters);
    for (std::size_t i = 0; i < 220; ++i) {
        const SurfaceCall& c = calls[std::size_t(start) + i];
        CHECK((c.colour == colours::red && c.state.drawWidth == 1 &&
               c.y1 == float(7000 - 25 * int(i))));
        CHECK((c.x1 == float(7500 + theory[i]) && c.x2 == float(7500 + theory[i + 1])));
    }
}

TEST_CASE("free values draw their own opening and fit their bars into the plot") {
    struct Row {
        const char *wavelength, *aperture, *distance;
    };
    for (const Row& row : {Row{"600 nm", "1 µm", "10 µm"}, Row{"600 nm", "5 µm", "10 µm"},
                           Row{"5 nm", "17.5 µm", "1.2 µm"}, Row{"20 µm", "17.5 µm", "13.2 µm"}}) {
        INFO((std::string(row.wavelength) + ", " + row.aperture + ", " + row.distance));
        const RunParameters p =
            exploreParameters({twipsOf(row.wavelength, Quantity::Wavelength),
                               twipsOf(row.aperture, Quantity::ApertureWidth),
                               twipsOf(row.distance, Quantity::DetectorDistance)});
        const Recorded run({"0.6", "350", "1"}, {p});
        int openingRows = 0;
        std::vector<float> diaphragmEnds, bars;
        for (const SurfaceCall& c : run.surface.calls) {
            if (c.colour == colours::paleCyan && c.x1 == 3500 && c.y1 != 3500)
                ++openingRows;
            else if (c.isLine() && !c.colour && c.x1 == 3500 && c.x2 == 3500)
                diaphragmEnds.push_back(c.y2);
            else if (isBar(c))
                bars.push_back(c.x2 - 7500);
        }
        CHECK(openingRows == 2 * int(p.halfAperture));
        CHECK(diaphragmEnds ==
              std::vector{float(3500 - p.halfAperture), float(3500 + p.halfAperture)});
        // Each bar is its chain's squared resultant, against the scalar walk, to the float its
        // end is drawn at, on one scale that puts the longest inside the plot and visible.
        const double scale = *run.result.parameters.intensityScale;
        REQUIRE(bars.size() == 221);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            const double y = 7000 - 25 * double(i);
            const Pen end = walkChain(p, y, [](Pen, Pen, bool) {});
            const double dx = end.x - p.detectorX, dy = end.y - y;
            CHECK(std::fabs(bars[i] - scale * (dx * dx + dy * dy)) <= 1e-3);
        }
        const float longest = *std::max_element(bars.begin(), bars.end());
        CHECK(longest <= longestBarMost * (1 + 1e-6));
        CHECK(longest >= longestBarLeast * (1 - 1e-6));
    }
}

TEST_CASE("the sliders reach every preset and both ends of their ranges") {
    const std::vector<double> presets[] = {
        {2 * pi / 5, 2 * pi / 0.1, 2 * pi / 0.05, 2 * pi / 0.01, 2 * pi / 0.0015},
        {2000},
        {1000, 2000, 3000}};
    for (std::size_t k = 0; k < 3; ++k) {
        const Quantity q = explore::fields[k].quantity;
        INFO(std::string(explore::fields[k].caption));
        for (const double preset : presets[k])
            CHECK(explore::sliderValue(q, explore::sliderPosition(q, preset)) == preset);
        CHECK(twipsToNanometres(explore::sliderValue(q, 0)) ==
              doctest::Approx(rangeOf(q).lowest).epsilon(1e-12));
        CHECK(twipsToNanometres(explore::sliderValue(q, explore::sliderSteps)) ==
              doctest::Approx(rangeOf(q).highest).epsilon(1e-12));
    }
}
