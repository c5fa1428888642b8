// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run's parameters: the presets exactly as the preset tables give them, Explore's free values
// joining them smoothly, and the bars' scale keeping the pattern inside the plot.
#include "number_text.h"
#include "run_parameters.h"

#include <doctest/doctest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

using namespace velmora;

namespace {

// The preset whose caption or text is `name`.
template <class Preset, std::size_t n>
const Preset& named(const std::array<Preset, n>& presets, const char* Preset::*key,
                    const std::string& name) {
    for (const Preset& preset : presets) {
        if (name == preset.*key)
            return preset;
    }
    FAIL("no preset " << name);
    return presets[0];
}

RunParameters preset(const std::string& caption, const std::string& rozteč) {
    return presetParameters(named(frequencyPresets, &FrequencyPreset::caption, caption),
                            named(distancePresets, &DistancePreset::text, rozteč));
}

void checkSame(const RunParameters& a, const RunParameters& b) {
    CHECK(std::memcmp(&a, &b, offsetof(RunParameters, intensityScale)) == 0);
    CHECK(a.intensityScale == b.intensityScale);
}

double twipsOf(const char* text, Quantity quantity) {
    const LengthReading reading = readLength(text, quantity);
    REQUIRE_MESSAGE(reading.ok(), reading.error);
    return reading.twips;
}

} // namespace

TEST_CASE("the named presets are the preset tables' values, in every locale") {
    for (const char* point : {".", ",", "\u066B"}) {
        for (const double fi : {5.0, 1.0, 0.6, 0.2, 0.03}) {
            for (const char* rozteč : {"300", "350", "400"}) {
                const std::string fiText = numberToText(fi, point);
                INFO(fiText << " at " << rozteč);
                checkSame(runParametersFor(ParameterStore{fiText, rozteč, "1"}, point),
                          preset(frequencyCaptionFor(fiText, point), rozteč));
            }
        }
    }
}

TEST_CASE("free values that show as a preset's run that preset exactly") {
    struct Row {
        const char *wavelength, *aperture, *distance, *frequency, *rozteč;
    };
    for (const Row& row : {Row{"550 nm", "8.754 µm", "8.754 µm", "middle", "350"},
                           Row{"18.3 µm", "8.7536um", "13.13 µm", "lower", "400"},
                           Row{"0.0055 um", "0.008754 mm", "4377 nm", "higher", "300"}}) {
        INFO(row.wavelength << ", " << row.aperture << ", " << row.distance);
        checkSame(exploreParameters({twipsOf(row.wavelength, Quantity::Wavelength),
                                     twipsOf(row.aperture, Quantity::ApertureWidth),
                                     twipsOf(row.distance, Quantity::DetectorDistance)}),
                  preset(row.frequency, row.rozteč));
    }
    // A shown digit away the values are free, and the phasor length has barely moved.
    const RunParameters beside = exploreParameters(
        {twipsOf("551 nm", Quantity::Wavelength), twipsOf("8.75 µm", Quantity::ApertureWidth),
         twipsOf("8.76 µm", Quantity::DetectorDistance)});
    CHECK(beside.phaseFactor != 0.05);
    CHECK(beside.sampleSpacing != 1);
    CHECK(beside.stepLength / beside.sampleSpacing == doctest::Approx(1).epsilon(0.003));
}

TEST_CASE("phasor length and bar scale join the presets smoothly, without overshoot") {
    for (const FrequencyPreset& f : frequencyPresets)
        CHECK(stepLengthPerTwip(2 * pi / f.phaseFactor) == doctest::Approx(f.stepLength));
    for (const DistancePreset& d : distancePresets)
        CHECK(baseIntensityScale(d.distance) == doctest::Approx(d.intensityScale));
    // Both fall all the way across their ranges.
    const QuantityRange &λ = rangeOf(Quantity::Wavelength),
                        &D = rangeOf(Quantity::DetectorDistance);
    for (double k = 0; k < 400; ++k) {
        auto wavelength = [&](double k) {
            return nanometresToTwips(λ.lowest * std::pow(λ.highest / λ.lowest, k / 400));
        };
        auto distance = [&](double k) {
            return nanometresToTwips(D.lowest + (D.highest - D.lowest) * k / 400);
        };
        CHECK(stepLengthPerTwip(wavelength(k + 1)) < stepLengthPerTwip(wavelength(k)));
        CHECK(baseIntensityScale(distance(k + 1)) < baseIntensityScale(distance(k)));
    }
}

TEST_CASE("free values outside the ranges are held to them") {
    for (const double bad : {std::nan(""), 0.0, 1e300, -HUGE_VAL}) {
        const RunParameters p = exploreParameters({bad, bad, bad});
        CHECK(twipsToNanometres(p.wavelength()) == doctest::Approx(bad > 1 ? 20000 : 5));
        CHECK(twipsToNanometres(2 * p.halfAperture) == doctest::Approx(bad > 1 ? 17500 : 1000));
        CHECK(twipsToNanometres(p.distance()) == doctest::Approx(bad > 1 ? 13200 : 1200));
    }
}

TEST_CASE("the bars' scale keeps the longest bar inside the plot and visible") {
    const RunParameters middle = preset("middle", "350");
    RunParameters free = middle;
    free.halfAperture = 1500; // an aperture of its own at the preset distance
    struct Row {
        const char* name;
        const RunParameters& parameters;
        double largestSquared, scale;
    };
    for (const Row& row : {Row{"preset geometry beyond the limit", middle, 5e5, 0.009},
                           Row{"free, within the limits", free, 2e5, 0.009},
                           Row{"free, too long", free, 5e5, longestBarMost / 5e5},
                           Row{"free, too short", free, 1e4, longestBarLeast / 1e4},
                           Row{"nothing drawn", free, 0, 0.009}}) {
        INFO(row.name);
        CHECK(fittedIntensityScale(row.parameters, row.largestSquared) ==
              doctest::Approx(row.scale));
    }
    // The preset geometry's bars at the wavelengths that make them longest and shortest.
    for (const auto& row : {std::pair{11.33, 2000.0}, {13.66, 3000.0}, {4569.6, 3000.0}}) {
        const RunParameters p = exploreParameters({row.first, 2000, row.second});
        double longest = 0;
        for (int scanY = 500; scanY <= 6000; scanY += 25) {
            const Pen end = walkChain(p, 7500 - scanY, [](Pen, Pen, bool) {});
            longest = std::max(longest, std::hypot(end.x - p.detectorX, end.y - 7500 + scanY));
        }
        CHECK(*p.intensityScale * longest * longest < 3975);
        CHECK(*p.intensityScale * longest * longest > longestBarLeast);
    }
}

TEST_CASE("the values shown beside the parameters") {
    CHECK(significantText(apertureInWavelengths(preset("middle", "350")), 4) == "15.92");
    CHECK(significantText(fresnelNumber(preset("lower", "400")), 4) == "0.07958");
}
