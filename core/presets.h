// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// From the preset texts to the numbers of a run. Presets are recognised by exact text;
// only the detector position and the busy-wait count use a text's numeric value.
#pragma once

#include "form.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

struct Frequency {
    double stepLength = 0;  // twips per phasor
    double phaseFactor = 0; // radians per twip of path length
};

// Unrecognised text leaves both at 0: every phasor then has length 0.
Frequency frequencyFor(std::string_view fiText, std::string_view decimalPoint = ".");

// The caption of the option button that writes this text ("middle"); empty for no preset.
std::string frequencyCaptionFor(std::string_view fiText, std::string_view decimalPoint = ".");

// DetectorX = (apertureX − 5000) + 20 · d. Throws "Type mismatch" for text that is no number
// and "Overflow" when the product is not finite.
double detectorXFor(std::string_view roztečText, double apertureX,
                    std::string_view decimalPoint = ".");

// No value for text that is none of "300", "350", "400": the intensity is then unscaled.
std::optional<double> intensityScaleFor(std::string_view roztečText);

// The largest count the speed scroll bar can write.
constexpr auto maxDelayCount = std::uint32_t(form::delayCountOf(form::speedBarMaximum));

// Fractions are cut toward zero, negatives count as 0 and larger counts are held to
// maxDelayCount, so no text can freeze the window for long. Throws "Type mismatch" for
// text that is no number and "Overflow" for NaN.
std::uint32_t delayCountFor(std::string_view spomaleniText, std::string_view decimalPoint = ".");

} // namespace velmora
