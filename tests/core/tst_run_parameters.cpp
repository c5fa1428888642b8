// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run's parameters: the presets exactly as the preset tables give them, Explore's free values
// joining them smoothly, and the bars' scale keeping the pattern inside the plot.
#include "number_text.h"
#include "run_parameters.h"

#include <doctest/doctest.h>

#include <cmath>
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

const FrequencyPreset& frequencyNamed(const std::string& caption) {
    return named(frequencyPresets, &FrequencyPreset::caption, caption);
}

const DistancePreset& distanceNamed(const std::string& text) {
    return named(distancePresets, &DistancePreset::text, text);
}

// Bit for bit, the optional scale included.
void checkSame(const RunParameters& a, const RunParameters& b) {
    CHECK(std::memcmp(&a.phaseFactor, &b.phaseFactor, sizeof(double)) == 0);
    CHECK(std::memcmp(&a.stepLength, &b.stepLength, sizeof(double)) == 0);
    CHECK(a.halfAperture == b.halfAperture);
    CHECK(a.sampleSpacing == b.sampleSpacing);
    CHECK(a.detectorX == b.detectorX);
    CHECK(a.intensityScale == b.intensityScale);
}

double twipsOf(const char* text, Quantity quantity) {
    const LengthReading reading = readLength(text, quantity);
    REQUIRE_MESSAGE(reading.ok(), reading.error);
    return reading.twips;
}

double longestSquared(const RunParameters& p) {
    double longest = 0;
    for (int scanY = 500; scanY <= 6000; scanY += 25) {
        const double y = 7500 - scanY;
        const Pen end = walkChain(p, y, [](Pen, Pen, bool) {});
        longest = std::max(longest, std::pow(end.x - p.detectorX, 2) + std::pow(end.y - y, 2));
    }
    return longest;
}

} // namespace

TEST_CASE("the named presets are the preset tables' values, in every locale") {
    for (const char* point : {".", ",", "\u066B"}) {
        for (const double fi : {5.0, 1.0, 0.6, 0.2, 0.03}) {
            for (const char* rozteč : {"300", "350", "400"}) {
                const std::string fiText = numberToText(fi, point);
                INFO(fiText << " at " << rozteč);
                const RunParameters named = presetParameters(
                    frequencyNamed(frequencyCaptionFor(fiText, point)), distanceNamed(rozteč));
                checkSame(runParametersFor(PresetTexts(fiText, rozteč, "1"), point), named);
                CHECK(named.sampleSpacing == 1);
            }
        }
    }
}

TEST_CASE("free values that show as a preset's run that preset exactly") {
    struct Row {
        const char *wavelength, *aperture, *distance, *frequency, *rozteč;
    };
    const Row rows[] = {
        {"550 nm", "8.754 µm", "8.754 µm", "middle", "350"},
        {"18.3 µm", "8.754um", "13.13 µm", "lower", "400"},
        {"0.0055 um", "0.008754 mm", "4377 nm", "higher", "300"},
        {"275.4nm", "8753.6 nm", "8.7544 µm", "high", "350"},
        {"2.75 µm", "8.754 µm", "13.13 µm", "low", "400"},
    };
    for (const Row& row : rows) {
        INFO(row.wavelength << ", " << row.aperture << ", " << row.distance);
        const ExploreValues values{twipsOf(row.wavelength, Quantity::Wavelength),
                                   twipsOf(row.aperture, Quantity::ApertureWidth),
                                   twipsOf(row.distance, Quantity::DetectorDistance)};
        checkSame(exploreParameters(values),
                  presetParameters(frequencyNamed(row.frequency), distanceNamed(row.rozteč)));
    }
    // A shown digit away, the values are free, and the phasor length has barely moved.
    const RunParameters beside = exploreParameters(
        {twipsOf("551 nm", Quantity::Wavelength), twipsOf("8.75 µm", Quantity::ApertureWidth),
         twipsOf("8.76 µm", Quantity::DetectorDistance)});
    CHECK(beside.phaseFactor != 0.05);
    CHECK(beside.halfAperture != 1000);
    CHECK(beside.detectorX != 5500);
    CHECK(beside.stepLength / beside.sampleSpacing == doctest::Approx(1).epsilon(0.003));
}

TEST_CASE("phasor length and bar scale join the presets smoothly, without overshoot") {
    for (const FrequencyPreset& f : frequencyPresets) {
        INFO(f.caption);
        CHECK(stepLengthPerTwip(2 * pi / f.phaseFactor) == doctest::Approx(f.stepLength));
    }
    for (const DistancePreset& d : distancePresets) {
        INFO(d.text);
        CHECK(baseIntensityScale(d.distance) == doctest::Approx(d.intensityScale));
    }
    // Both fall all the way across their ranges.
    const QuantityRange& λ = rangeOf(Quantity::Wavelength);
    const QuantityRange& D = rangeOf(Quantity::DetectorDistance);
    for (double k = 0; k < 400; ++k) {
        const double λ0 = nanometresToTwips(λ.lowest * std::pow(λ.highest / λ.lowest, k / 400));
        const double λ1 =
            nanometresToTwips(λ.lowest * std::pow(λ.highest / λ.lowest, (k + 1) / 400));
        CHECK(stepLengthPerTwip(λ1) < stepLengthPerTwip(λ0));
        const double d0 = nanometresToTwips(D.lowest + (D.highest - D.lowest) * k / 400);
        const double d1 = nanometresToTwips(D.lowest + (D.highest - D.lowest) * (k + 1) / 400);
        CHECK(baseIntensityScale(d1) < baseIntensityScale(d0));
    }
}

TEST_CASE("free values outside the ranges are held to them") {
    const double nan = std::nan("");
    for (const double bad : {nan, -1.0, 0.0, 1e300, HUGE_VAL}) {
        INFO(bad);
        const RunParameters p = exploreParameters({bad, bad, bad});
        for (const auto& [quantity, twips] :
             {std::pair{Quantity::Wavelength, p.wavelength()},
              std::pair{Quantity::ApertureWidth, 2 * p.halfAperture},
              std::pair{Quantity::DetectorDistance, p.distance()}}) {
            CHECK(twipsToNanometres(twips) >= rangeOf(quantity).lowest * (1 - 1e-12));
            CHECK(twipsToNanometres(twips) <= rangeOf(quantity).highest * (1 + 1e-12));
        }
    }
}

TEST_CASE("the bars' scale keeps the longest bar inside the plot and visible") {
    const RunParameters preset = presetParameters(frequencyNamed("middle"), distanceNamed("350"));
    RunParameters free = preset;
    free.halfAperture = 1500; // an aperture of its own at the preset distance
    struct Row {
        const char* name;
        const RunParameters& parameters;
        double largestSquared;
        double scale;
    };
    const Row rows[] = {
        {"preset geometry keeps its scale beyond the limit", preset, 5e5, 0.009},
        {"free, within the limits", free, 2e5, 0.009},
        {"free, too long", free, 5e5, longestBarMost / 5e5},
        {"free, too short", free, 1e4, longestBarLeast / 1e4},
        {"nothing drawn", free, 0, 0.009},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(fittedIntensityScale(row.parameters, row.largestSquared) ==
              doctest::Approx(row.scale));
    }
    // The preset geometry's longest bars, at the wavelengths that make them longest and
    // shortest, stay inside the plot (3975 twips) and long enough to see.
    struct Extreme {
        double wavelength;
        const char* distance;
    };
    for (const Extreme& e : {Extreme{11.33, "350"}, {13.66, "400"}, {4569.6, "400"}}) {
        INFO(e.wavelength << " twips at " << e.distance);
        const RunParameters p =
            exploreParameters({e.wavelength, 2000, distanceNamed(e.distance).distance});
        const double longest = *p.intensityScale * longestSquared(p);
        CHECK(longest < 3975);
        CHECK(longest > longestBarLeast);
    }
}

TEST_CASE("with the preset aperture the chain is the preset run's scalar walk") {
    for (const FrequencyPreset& f : frequencyPresets) {
        const RunParameters p = presetParameters(f, distancePresets[1]);
        for (const double y : {7000.0, 3975.0, 1500.0}) {
            INFO(f.caption << " at y " << y);
            const Pen a = walkChain(p, y, [](Pen, Pen, bool) {});
            const Pen b =
                walkPhasorChainScalar(p.detectorX, y, p.frequency(), [](Pen, Pen, bool) {});
            CHECK(a.x == b.x);
            CHECK(a.y == b.y);
        }
    }
}

TEST_CASE("the values shown beside the parameters") {
    const RunParameters middle = presetParameters(frequencyNamed("middle"), distanceNamed("350"));
    const RunParameters lower = presetParameters(frequencyNamed("lower"), distanceNamed("400"));
    CHECK(significantText(apertureInWavelengths(middle), 4) == "15.92");
    CHECK(significantText(distanceInWavelengths(middle), 4) == "15.92");
    CHECK(significantText(fresnelNumber(middle), 4) == "3.979");
    CHECK(significantText(apertureInWavelengths(lower), 4) == "0.4775");
    CHECK(significantText(distanceInWavelengths(lower), 4) == "0.7162");
    CHECK(significantText(fresnelNumber(lower), 4) == "0.07958");
}
