// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Everything a run needs to know of its light and its geometry, as one value. The presets are
// named values of it; Explore makes one from a wavelength, an aperture and a distance.
#pragma once

#include "parameter_store.h"
#include "presets.h"
#include "scene.h"
#include "units.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

namespace velmora {

// The pen that walks a phasor chain: where one phasor starts and ends.
struct Pen {
    double x, y;
};

// Sample offsets 0 … lastSampleOffset above and below the axis whatever the aperture, so every
// run chains the same 2003 phasors and costs the same.
inline constexpr int lastSampleOffset = 1000;

struct RunParameters {
    double phaseFactor = 0;                    // radians per twip of path length: 2π / λ
    double stepLength = 0;                     // length of every phasor, in twips
    double halfAperture = scene::halfAperture; // the opening's extent either side of the axis
    double sampleSpacing = 1;                  // halfAperture / lastSampleOffset
    double detectorX = 0;
    std::optional<double> intensityScale; // none: bars show the squared resultant unscaled

    Frequency frequency() const { return {stepLength, phaseFactor}; }
    double distance() const { return detectorX - scene::apertureX; }
    double wavelength() const { return 2 * pi / phaseFactor; }
};

struct FrequencyPreset {
    const char* caption; // of its option button
    double stepLength;
    double phaseFactor;
};
// In order of growing wavelength.
inline constexpr std::array<FrequencyPreset, 5> frequencyPresets{{
    {"higher", 10, 5},
    {"high", 1.5, 0.1},
    {"middle", 1, 0.05},
    {"low", 0.4, 0.01},
    {"lower", 0.18, 0.0015},
}};

struct DistancePreset {
    const char* text; // as the option button writes it
    double distance;  // from the diaphragm to the detector line, in twips
    double intensityScale;
};
inline constexpr std::array<DistancePreset, 3> distancePresets{{
    {"300", 1000, 0.017},
    {"350", 2000, 0.009},
    {"400", 3000, 0.006},
}};

RunParameters presetParameters(const FrequencyPreset& frequency, const DistancePreset& distance);

// What the preset texts give, exactly as the run reads them: unknown frequency text gives
// phasors of length 0, unknown distance text unscaled bars. Throws as detectorXFor does.
RunParameters runParametersFor(const ParameterStore& store, std::string_view decimalPoint = ".");

// Explore's free values, in twips; held to the ranges of quantityRanges.
struct ExploreValues {
    double wavelength = 0;
    double aperture = 0; // the opening's full width
    double distance = 0; // from the diaphragm to the detector line
};

// A value that shows as a preset's (wavelengthText, lengthText) is that preset's, so that
// "550 nm", "8.754 µm" and "8.754 µm" run the middle frequency at 350 bit for bit. Elsewhere
// the phase factor is 2π / λ, the phasor length follows stepLengthPerTwip scaled by the sample
// spacing, and the bars' scale follows baseIntensityScale; fit it to the run's bars with
// fittedIntensityScale before drawing them.
RunParameters exploreParameters(ExploreValues values);

// A phasor's length per twip of aperture it stands for: the presets' step lengths, joined by a
// monotone cubic in log λ – log length and continued straight beyond them. The presets lie near
// length ∝ λ^-½, which keeps a spiral's size about the same for every wavelength.
double stepLengthPerTwip(double wavelength);

// The presets' scales, joined by a monotone cubic in log distance – log scale (about 18 / D,
// which keeps near-field patterns about equally long).
double baseIntensityScale(double distance);

// Where an Explore run's longest bar may reach: inside the plot, whose axis is 3975 twips from
// the client area's right edge, and long enough to be seen.
inline constexpr double longestBarMost = 3960;
inline constexpr double longestBarLeast = 600;

// The bars' scale once the run knows its largest squared resultant. With the preset aperture at
// a preset distance it is the preset's, for every wavelength (those bars stay within 3951
// twips); elsewhere the parameters' own when the longest bar lies within the limits above,
// else the one that puts it at the nearer limit.
double fittedIntensityScale(const RunParameters& parameters, double largestSquared);

// What the panels show beside the values.
double apertureInWavelengths(const RunParameters& parameters);
double distanceInWavelengths(const RunParameters& parameters);
// N = (a/2)² / (λ D)
double fresnelNumber(const RunParameters& parameters);

// The phasor chain of one detector point for any parameters, one scalar phasor at a time: the
// extra phasor (horizontal distance alone), then the upper and lower sample of every offset,
// lying sampleSpacing apart: the reference the vector kernels are held to. Every phase is
// evaluated directly, in double precision.
template <class OnPhasor>
Pen walkChain(const RunParameters& p, double detectorY, OnPhasor&& onPhasor) {
    using namespace scene;
    Pen pen{p.detectorX, detectorY};
    auto step = [&](double pathLength, bool isExtra) {
        const double phase = p.phaseFactor * pathLength;
        const Pen next{pen.x + p.stepLength * std::cos(phase),
                       pen.y + p.stepLength * std::sin(phase)};
        onPhasor(pen, next, isExtra);
        pen = next;
    };
    step(p.detectorX - apertureX, true);
    const double dx = apertureX - p.detectorX;
    for (int s = 0; s <= lastSampleOffset; ++s) {
        const double offset = s * p.sampleSpacing;
        const double up = (axisY - offset) - detectorY;
        step(std::sqrt(dx * dx + up * up), false);
        const double down = (axisY + offset) - detectorY;
        step(std::sqrt(dx * dx + down * down), false);
    }
    return pen;
}

} // namespace velmora
