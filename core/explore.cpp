// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "explore.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora::explore {

namespace {

struct Span {
    double lowest, highest; // twips
};

Span spanOf(Quantity quantity) {
    const QuantityRange& range = rangeOf(quantity);
    return {nanometresToTwips(range.lowest), nanometresToTwips(range.highest)};
}

// The presets' own values of the quantity, which a slider must be able to reach exactly.
std::vector<double> presetValues(Quantity quantity) {
    std::vector<double> values;
    switch (quantity) {
    case Quantity::Wavelength:
        for (const FrequencyPreset& f : frequencyPresets)
            values.push_back(2 * pi / f.phaseFactor);
        break;
    case Quantity::ApertureWidth:
        values.push_back(2 * scene::halfAperture);
        break;
    case Quantity::DetectorDistance:
        for (const DistancePreset& d : distancePresets)
            values.push_back(d.distance);
        break;
    }
    return values;
}

// NaN goes to the lower end, as exploreParameters holds it.
double heldTo(double twips, Quantity quantity) {
    const Span span = spanOf(quantity);
    return twips >= span.lowest ? std::min(twips, span.highest) : span.lowest;
}

} // namespace

const Field& field(Quantity quantity) {
    for (const Field& f : fields) {
        if (f.quantity == quantity)
            return f;
    }
    return fields[0];
}

double valueOf(const ExploreValues& values, Quantity quantity) {
    switch (quantity) {
    case Quantity::Wavelength:
        return values.wavelength;
    case Quantity::ApertureWidth:
        return values.aperture;
    case Quantity::DetectorDistance:
        return values.distance;
    }
    return 0;
}

void setValue(ExploreValues& values, Quantity quantity, double twips) {
    switch (quantity) {
    case Quantity::Wavelength:
        values.wavelength = twips;
        break;
    case Quantity::ApertureWidth:
        values.aperture = twips;
        break;
    case Quantity::DetectorDistance:
        values.distance = twips;
        break;
    }
}

std::string valueText(Quantity quantity, double twips, std::string_view decimalPoint) {
    return quantity == Quantity::Wavelength ? wavelengthText(twips, decimalPoint)
                                            : lengthText(twips, decimalPoint);
}

double shownValue(Quantity quantity, double twips) {
    const LengthReading reading = readLength(valueText(quantity, twips), quantity);
    return reading.ok() ? reading.twips : heldTo(twips, quantity);
}

int sliderPosition(Quantity quantity, double twips) {
    const Span span = spanOf(quantity);
    const double value = heldTo(twips, quantity);
    const double share = field(quantity).logarithmic
                             ? std::log(value / span.lowest) / std::log(span.highest / span.lowest)
                             : (value - span.lowest) / (span.highest - span.lowest);
    return std::clamp(int(std::lround(share * sliderSteps)), 0, sliderSteps);
}

double sliderValue(Quantity quantity, int position) {
    position = std::clamp(position, 0, sliderSteps);
    for (const double preset : presetValues(quantity)) {
        if (sliderPosition(quantity, preset) == position)
            return preset;
    }
    const Span span = spanOf(quantity);
    const double share = double(position) / sliderSteps;
    const double value = field(quantity).logarithmic
                             ? span.lowest * std::pow(span.highest / span.lowest, share)
                             : span.lowest + (span.highest - span.lowest) * share;
    return shownValue(quantity, value);
}

ExploreValues valuesOf(const RunParameters& p) {
    return {heldTo(p.wavelength(), Quantity::Wavelength),
            heldTo(2 * p.halfAperture, Quantity::ApertureWidth),
            heldTo(p.distance(), Quantity::DetectorDistance)};
}

std::string valuesText(const RunParameters& p, std::string_view decimalPoint) {
    return "wavelength " + wavelengthText(p.wavelength(), decimalPoint) + ", aperture width " +
           lengthText(2 * p.halfAperture, decimalPoint) + " and detector distance " +
           lengthText(p.distance(), decimalPoint);
}

std::string derivedText(const RunParameters& p, std::string_view decimalPoint) {
    return "Aperture " + significantText(apertureInWavelengths(p), 4, decimalPoint) +
           " λ, distance " + significantText(distanceInWavelengths(p), 4, decimalPoint) +
           " λ, Fresnel number N = " + significantText(fresnelNumber(p), 4, decimalPoint);
}

} // namespace velmora::explore
