// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs with Explore's values: a preset's values typed as shown run that preset call for call,
// free values draw their own opening and fit their bars into the plot, the theory curve goes
// over the bars, and the panel's sliders reach every preset and both ends of their ranges.
#include "explore.h"
#include "form.h"
#include "phasor_chain.h"
#include "recording_surface.h"
#include "start_action.h"
#include "theory_curve.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Recorded {
    RecordingSurface surface;
    RecordingLabelBoard labels{&surface};
    RunResult result;
};

void record(Recorded& out, const ParameterStore& store, const ExploreSettings& explore = {},
            const std::string& point = ".") {
    out.result = runStartAction(store, out.surface, out.labels, point, {}, explore);
}

double twipsOf(const std::string& text, Quantity quantity) {
    const LengthReading reading = readLength(text, quantity);
    REQUIRE_MESSAGE(reading.ok(), reading.error);
    return reading.twips;
}

// The values a user reads off a run of these parameters and types in again.
ExploreValues typedValues(const RunParameters& p) {
    return {twipsOf(wavelengthText(p.wavelength()), Quantity::Wavelength),
            twipsOf(lengthText(2 * p.halfAperture), Quantity::ApertureWidth),
            twipsOf(lengthText(p.distance()), Quantity::DetectorDistance)};
}

bool isBar(const SurfaceCall& c) {
    return c.isLine() && !c.colour && c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2;
}

} // namespace

TEST_CASE("a preset's values, typed as shown, run that preset call for call") {
    for (const form::Control& f : form::controls()) {
        for (const form::Control& d : form::controls()) {
            if (f.writes != "nFi" || d.writes != "nRozteč")
                continue;
            INFO(f.caption << " at " << d.caption);
            const ParameterStore store = form::loadedStore(",", {f.name, d.name});
            Recorded preset, explored;
            record(preset, store, {}, ",");
            const ExploreValues values = typedValues(runParametersFor(store, ","));
            record(explored, store, {exploreParameters(values), false}, ",");
            REQUIRE(preset.surface.calls.size() == explored.surface.calls.size());
            CHECK(preset.surface.calls == explored.surface.calls);
            CHECK(preset.labels.shown == explored.labels.shown);
            CHECK(preset.result.report.intensities == explored.result.report.intensities);
        }
    }
    // The summary names the values instead of the presets.
    Recorded middle;
    record(
        middle, form::loadedStore(".", {}),
        {exploreParameters(typedValues(presetParameters(frequencyPresets[2], distancePresets[1]))),
         false});
    CHECK(describeRun(middle.result.report)
              .starts_with("Drawn with wavelength 550 nm, aperture width 8.754 µm and detector "
                           "distance 8.754 µm. The intensity pattern"));
}

TEST_CASE("the theory curve goes over the bars once the last is drawn") {
    const ParameterStore store = form::loadedStore(".", {"op02", "opV400"});
    Recorded plain, withCurve;
    record(plain, store);
    record(withCurve, store, {std::nullopt, true});
    const std::vector<SurfaceCall>& calls = withCurve.surface.calls;
    // The plain run's calls, with the curve between the last bar (and the width it leaves) and
    // the last present.
    const auto afterLastBar = std::find_if(calls.rbegin(), calls.rend(), isBar).base();
    const std::size_t curveStart = std::size_t(afterLastBar - calls.begin()) + 1;
    REQUIRE(calls.size() == plain.surface.calls.size() + 220);
    CHECK(std::equal(calls.begin(), calls.begin() + long(curveStart), plain.surface.calls.begin()));
    CHECK(std::equal(calls.begin() + long(curveStart) + 220, calls.end(),
                     plain.surface.calls.begin() + long(curveStart)));
    CHECK(calls[curveStart + 220].kind == SurfaceCall::Kind::Present);

    const std::vector<double> theory = theoryIntensities(withCurve.result.parameters);
    for (int i = 0; i < 220; ++i) {
        INFO("segment " << i);
        const SurfaceCall& c = calls[curveStart + std::size_t(i)];
        CHECK(c.colour == colours::red);
        CHECK(c.state.drawWidth == 1);
        CHECK(c.x1 == float(7500 + theory[std::size_t(i)]));
        CHECK(c.y1 == float(7000 - 25 * i));
        CHECK(c.x2 == float(7500 + theory[std::size_t(i) + 1]));
        CHECK(c.y2 == float(7000 - 25 * (i + 1)));
    }
}

TEST_CASE("free values draw their own opening and fit their bars into the plot") {
    struct Row {
        const char* name;
        const char *wavelength, *aperture, *distance;
    };
    for (const Row& row : {Row{"narrowest, 600 nm, 10 µm", "600 nm", "1 µm", "10 µm"},
                           Row{"600 nm, 5 µm, 10 µm", "600 nm", "5 µm", "10 µm"},
                           Row{"shortest, widest, nearest", "5 nm", "17.5 µm", "1.2 µm"},
                           Row{"longest, widest, farthest", "20 µm", "17.5 µm", "13.2 µm"}}) {
        INFO(std::string(row.name));
        const RunParameters p =
            exploreParameters({twipsOf(row.wavelength, Quantity::Wavelength),
                               twipsOf(row.aperture, Quantity::ApertureWidth),
                               twipsOf(row.distance, Quantity::DetectorDistance)});
        Recorded run;
        record(run, form::loadedStore(".", {}), {p, false});
        REQUIRE_FALSE(run.result.error);

        int openingRows = 0, segments = 0;
        std::vector<const SurfaceCall*> diaphragm, bars;
        for (const SurfaceCall& c : run.surface.calls) {
            if (!c.isLine() || c.state.scaleMode != ScaleMode::Twips)
                continue;
            if (c.colour == colours::paleCyan && c.x1 == 3500 && c.y1 != 3500)
                ++openingRows;
            else if (!c.colour && c.x1 == 3500 && c.x2 == 3500)
                diaphragm.push_back(&c);
            else if (isBar(c))
                bars.push_back(&c);
            else if (!c.colour && c.state.drawWidth == 1 && c.x1 != 7500)
                ++segments;
        }
        CHECK(openingRows == 2 * int(p.halfAperture));
        REQUIRE(diaphragm.size() == 2);
        CHECK(diaphragm[0]->y2 == float(3500 - p.halfAperture));
        CHECK(diaphragm[1]->y2 == float(3500 + p.halfAperture));
        // The extra phasor at every step, and the whole chain at every spiral step.
        CHECK(segments == 221 + 12 * 2002);

        // Each bar is its chain's squared resultant, on the one fitted scale, against the
        // scalar walk, to the float its end is drawn at; and the longest lies inside the plot,
        // long enough to see.
        const double scale = *run.result.parameters.intensityScale;
        REQUIRE(bars.size() == 221);
        double longest = 0;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            const double y = 7000 - 25 * double(i);
            const Pen end = walkChain(p, y, [](Pen, Pen, bool) {});
            const double expected = scale * std::norm(std::complex(end.x - p.detectorX, end.y - y));
            INFO("y " << y);
            CHECK(std::fabs(bars[i]->x2 - 7500 - expected) <= 1e-3);
            longest = std::max(longest, double(bars[i]->x2) - 7500);
        }
        CHECK(longest <= longestBarMost * (1 + 1e-6));
        CHECK(longest >= longestBarLeast * (1 - 1e-6));
    }
}

TEST_CASE("the sliders reach every preset and both ends, and run what they show") {
    const ExploreValues presets =
        explore::valuesOf(presetParameters(frequencyPresets[0], distancePresets[0]));
    struct Row {
        Quantity quantity;
        std::vector<double> presets; // twips
    };
    for (const Row& row :
         {Row{Quantity::Wavelength,
              {2 * pi / 5, 2 * pi / 0.1, 2 * pi / 0.05, 2 * pi / 0.01, 2 * pi / 0.0015}},
          Row{Quantity::ApertureWidth, {presets.aperture}},
          Row{Quantity::DetectorDistance, {1000, 2000, 3000}}}) {
        const explore::Field& field = explore::field(row.quantity);
        INFO(std::string(field.caption));
        for (const double preset : row.presets)
            CHECK(explore::sliderValue(row.quantity,
                                       explore::sliderPosition(row.quantity, preset)) == preset);
        const QuantityRange& range = rangeOf(row.quantity);
        CHECK(twipsToNanometres(explore::sliderValue(row.quantity, 0)) ==
              doctest::Approx(range.lowest).epsilon(1e-12));
        CHECK(twipsToNanometres(explore::sliderValue(row.quantity, explore::sliderSteps)) ==
              doctest::Approx(range.highest).epsilon(1e-12));
        double previous = 0;
        for (int position = 0; position <= explore::sliderSteps; ++position) {
            INFO("position " << position);
            const double value = explore::sliderValue(row.quantity, position);
            CHECK(value >= previous); // neighbours may round to the same shown digits
            // What it shows is what it runs: its text reads back as the very value, or as the
            // preset that the text names.
            const double shown = twipsOf(explore::valueText(row.quantity, value), row.quantity);
            const bool preset =
                std::find(row.presets.begin(), row.presets.end(), value) != row.presets.end();
            CHECK((preset || shown == doctest::Approx(value).epsilon(1e-12)));
            previous = value;
        }
    }
}
