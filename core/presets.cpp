// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presets.h"

#include "number_text.h"
#include "run_time_error.h"

#include <array>
#include <cmath>

namespace velmora {

namespace {
struct FrequencyRow {
    double preset;
    Frequency frequency;
};
constexpr std::array frequencyRows{
    FrequencyRow{5, {10, 5}},           FrequencyRow{1, {1.5, 0.1}},
    FrequencyRow{0.6, {1, 0.05}},       FrequencyRow{0.2, {0.4, 0.01}},
    FrequencyRow{0.03, {0.18, 0.0015}},
};
} // namespace

Frequency frequencyFor(std::string_view fiText, std::string_view decimalPoint) {
    for (const FrequencyRow& row : frequencyRows) {
        if (fiText == numberToText(row.preset, decimalPoint))
            return row.frequency;
    }
    return {};
}

std::string frequencyCaptionFor(std::string_view fiText, std::string_view decimalPoint) {
    for (const form::Control& c : form::controls()) {
        if (c.writes == "nFi" && fiText == form::optionText(c, decimalPoint))
            return c.caption;
    }
    return "";
}

double detectorXFor(std::string_view roztečText, double apertureX, std::string_view decimalPoint) {
    const double product = textToNumber(roztečText, decimalPoint) * 20;
    if (!std::isfinite(product))
        throw RunTimeError::overflow();
    return (apertureX - 5000) + product;
}

std::optional<double> intensityScaleFor(std::string_view roztečText) {
    if (roztečText == "300")
        return 0.017;
    if (roztečText == "350")
        return 0.009;
    if (roztečText == "400")
        return 0.006;
    return std::nullopt;
}

std::uint32_t delayCountFor(std::string_view spomaleniText, std::string_view decimalPoint) {
    const double count = std::trunc(textToNumber(spomaleniText, decimalPoint));
    if (std::isnan(count))
        throw RunTimeError::overflow();
    if (count <= 0)
        return 0;
    if (count >= maxDelayCount)
        return maxDelayCount;
    return std::uint32_t(count);
}

} // namespace velmora
