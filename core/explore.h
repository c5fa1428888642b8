// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Explore's panel as data, for every front end to build it from: its three values with their
// captions, the sliders' scales, what is shown beside the values, and a run's values in words.
#pragma once

#include "run_parameters.h"
#include "units.h"

#include <array>
#include <string>
#include <string_view>

namespace velmora::explore {

inline const std::string title = "Explore";
inline const std::string theoryCaption = "Theory curve";
inline const std::string note =
    "While this panel is open, Start runs these values instead of the presets; closing it "
    "returns to the presets.";

struct Field {
    Quantity quantity;
    const char* caption; // the slider's name, "Wavelength"
    bool logarithmic;    // a slider step multiplies the value rather than adds to it
};
// Wavelengths span more than three decades; the lengths of the scene are read off linearly.
inline constexpr std::array<Field, 3> fields{{
    {Quantity::Wavelength, "Wavelength", true},
    {Quantity::ApertureWidth, "Aperture width", false},
    {Quantity::DetectorDistance, "Detector distance", false},
}};

const Field& field(Quantity quantity);

double valueOf(const ExploreValues& values, Quantity quantity);
void setValue(ExploreValues& values, Quantity quantity, double twips);

// A value as the panel shows it: "550 nm", "8.754 µm".
std::string valueText(Quantity quantity, double twips, std::string_view decimalPoint = ".");
// The value its text shows, so that the panel runs what it says.
double shownValue(Quantity quantity, double twips);

// Sliders run from 0 to sliderSteps over the quantity's range.
inline constexpr int sliderSteps = 1000;
int sliderPosition(Quantity quantity, double twips);
// The shown value at a position; at the position nearest a preset's value, that value.
double sliderValue(Quantity quantity, int position);

// What a run of these parameters has: where the panel starts from a preset run.
ExploreValues valuesOf(const RunParameters& parameters);

// "wavelength 550 nm, aperture width 8.754 µm and detector distance 8.754 µm"
std::string valuesText(const RunParameters& parameters, std::string_view decimalPoint = ".");

// "Aperture 15.92 λ, distance 15.92 λ, Fresnel number N = 3.979"
std::string derivedText(const RunParameters& parameters, std::string_view decimalPoint = ".");

} // namespace velmora::explore
