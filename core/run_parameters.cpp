// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_parameters.h"

#include <algorithm>

namespace velmora {

namespace {

// Fritsch and Carlson's monotone cubic through (x[k], y[k]), x increasing, continued beyond the
// ends along the end slopes: no overshoot between knots, and a knot's own value at a knot.
template <std::size_t n>
double monotoneCubic(const std::array<double, n>& x, const std::array<double, n>& y, double at) {
    static_assert(n >= 3);
    std::array<double, n - 1> width{}, secant{};
    for (std::size_t k = 0; k + 1 < n; ++k) {
        width[k] = x[k + 1] - x[k];
        secant[k] = (y[k + 1] - y[k]) / width[k];
    }
    std::array<double, n> slope{};
    for (std::size_t k = 1; k + 1 < n; ++k) {
        if (secant[k - 1] * secant[k] > 0) {
            const double w1 = 2 * width[k] + width[k - 1];
            const double w2 = width[k] + 2 * width[k - 1];
            slope[k] = (w1 + w2) / (w1 / secant[k - 1] + w2 / secant[k]);
        }
    }
    // The ends: a three-point estimate, held to the monotone region.
    auto endSlope = [](double h0, double h1, double d0, double d1) {
        const double d = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
        if (d * d0 <= 0)
            return 0.0;
        if (d0 * d1 <= 0 && std::fabs(d) > 3 * std::fabs(d0))
            return 3 * d0;
        return d;
    };
    slope[0] = endSlope(width[0], width[1], secant[0], secant[1]);
    slope[n - 1] = endSlope(width[n - 2], width[n - 3], secant[n - 2], secant[n - 3]);

    if (at <= x[0])
        return y[0] + slope[0] * (at - x[0]);
    if (at >= x[n - 1])
        return y[n - 1] + slope[n - 1] * (at - x[n - 1]);
    std::size_t k = 0;
    while (at > x[k + 1])
        ++k;
    const double t = (at - x[k]) / width[k];
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y[k] + (t3 - 2 * t2 + t) * width[k] * slope[k] +
           (-2 * t3 + 3 * t2) * y[k + 1] + (t3 - t2) * width[k] * slope[k + 1];
}

// NaN goes to the lower end: nothing absurd reaches a run.
double heldTo(double value, Quantity quantity) {
    const QuantityRange& range = rangeOf(quantity);
    const double lowest = nanometresToTwips(range.lowest);
    const double highest = nanometresToTwips(range.highest);
    return value >= lowest ? std::min(value, highest) : lowest;
}

} // namespace

RunParameters presetParameters(const FrequencyPreset& frequency, const DistancePreset& distance) {
    RunParameters p;
    p.phaseFactor = frequency.phaseFactor;
    p.stepLength = frequency.stepLength;
    p.detectorX = scene::apertureX + distance.distance;
    p.intensityScale = distance.intensityScale;
    return p;
}

RunParameters runParametersFor(const ParameterStore& store, std::string_view decimalPoint) {
    RunParameters p;
    const std::string& rozteč = store.nRozteč;
    p.detectorX = detectorXFor(rozteč, scene::apertureX, decimalPoint);
    const Frequency f = frequencyFor(store.nFi, decimalPoint);
    p.phaseFactor = f.phaseFactor;
    p.stepLength = f.stepLength;
    p.intensityScale = intensityScaleFor(rozteč);
    return p;
}

double stepLengthPerTwip(double wavelength) {
    std::array<double, frequencyPresets.size()> logWavelength{}, logLength{};
    for (std::size_t k = 0; k < frequencyPresets.size(); ++k) {
        logWavelength[k] = std::log(2 * pi / frequencyPresets[k].phaseFactor);
        logLength[k] = std::log(frequencyPresets[k].stepLength);
    }
    return std::exp(monotoneCubic(logWavelength, logLength, std::log(wavelength)));
}

double baseIntensityScale(double distance) {
    std::array<double, distancePresets.size()> logDistance{}, logScale{};
    for (std::size_t k = 0; k < distancePresets.size(); ++k) {
        logDistance[k] = std::log(distancePresets[k].distance);
        logScale[k] = std::log(distancePresets[k].intensityScale);
    }
    return std::exp(monotoneCubic(logDistance, logScale, std::log(distance)));
}

RunParameters exploreParameters(ExploreValues values) {
    const double wavelength = heldTo(values.wavelength, Quantity::Wavelength);
    const double aperture = heldTo(values.aperture, Quantity::ApertureWidth);
    const double distance = heldTo(values.distance, Quantity::DetectorDistance);
    RunParameters p;

    const std::string shownWavelength = wavelengthText(wavelength);
    const auto frequency =
        std::find_if(frequencyPresets.begin(), frequencyPresets.end(), [&](const auto& f) {
            return wavelengthText(2 * pi / f.phaseFactor) == shownWavelength;
        });
    double perTwip = 0;
    if (frequency != frequencyPresets.end()) {
        p.phaseFactor = frequency->phaseFactor;
        perTwip = frequency->stepLength;
    } else {
        p.phaseFactor = 2 * pi / wavelength;
        perTwip = stepLengthPerTwip(wavelength);
    }

    constexpr double presetAperture = 2 * scene::halfAperture;
    p.halfAperture =
        lengthText(aperture) == lengthText(presetAperture) ? scene::halfAperture : aperture / 2;
    p.sampleSpacing = p.halfAperture / lastSampleOffset;
    // A phasor stands for sampleSpacing twips of the opening, so the chain's resultant is a
    // Riemann sum of the diffraction integral whatever the aperture.
    p.stepLength = perTwip * p.sampleSpacing;

    const std::string shownDistance = lengthText(distance);
    const auto preset =
        std::find_if(distancePresets.begin(), distancePresets.end(),
                     [&](const auto& d) { return lengthText(d.distance) == shownDistance; });
    if (preset != distancePresets.end()) {
        p.detectorX = scene::apertureX + preset->distance;
        p.intensityScale = preset->intensityScale;
    } else {
        p.detectorX = scene::apertureX + distance;
        p.intensityScale = baseIntensityScale(distance);
    }
    return p;
}

double fittedIntensityScale(const RunParameters& parameters, double largestSquared) {
    const double scale = parameters.intensityScale.value_or(1);
    const bool presetGeometry =
        parameters.halfAperture == scene::halfAperture &&
        std::any_of(distancePresets.begin(), distancePresets.end(), [&](const auto& d) {
            return parameters.distance() == d.distance && scale == d.intensityScale;
        });
    const double longest = scale * largestSquared;
    if (presetGeometry || !(largestSquared > 0) || !std::isfinite(longest))
        return scale;
    if (longest > longestBarMost)
        return longestBarMost / largestSquared;
    if (longest < longestBarLeast)
        return longestBarLeast / largestSquared;
    return scale;
}

double apertureInWavelengths(const RunParameters& p) {
    return 2 * p.halfAperture / p.wavelength();
}

double distanceInWavelengths(const RunParameters& p) {
    return p.distance() / p.wavelength();
}

double fresnelNumber(const RunParameters& p) {
    return p.halfAperture * p.halfAperture / (p.wavelength() * p.distance());
}

} // namespace velmora
