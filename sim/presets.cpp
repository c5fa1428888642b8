// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "presets.h"

#include "number_text.h"
#include "run_time_error.h"

#include <array>
#include <cmath>

namespace velmora {

Frequency frequencyFor(const QString& fiText, const QLocale& locale) {
    struct Row {
        double preset;
        Frequency frequency;
    };
    static constexpr std::array rows{
        Row{5, {10, 5}},       Row{1, {1.5, 0.1}},        Row{0.6, {1, 0.05}},
        Row{0.2, {0.4, 0.01}}, Row{0.03, {0.18, 0.0015}},
    };
    for (const Row& row : rows) {
        if (fiText == numberToText(row.preset, locale))
            return row.frequency;
    }
    return {};
}

double detectorXFor(const QString& roztečText, double apertureX, const QLocale& locale) {
    const double product = textToNumber(roztečText, locale) * 20;
    if (!std::isfinite(product))
        throw RunTimeError::overflow();
    return (apertureX - 5000) + product;
}

std::optional<double> intensityScaleFor(const QString& roztečText) {
    if (roztečText == u"300")
        return 0.017;
    if (roztečText == u"350")
        return 0.009;
    if (roztečText == u"400")
        return 0.006;
    return std::nullopt;
}

std::uint32_t delayCountFor(const QString& spomaleniText, const QLocale& locale) {
    const double count = std::trunc(textToNumber(spomaleniText, locale));
    if (std::isnan(count))
        throw RunTimeError::overflow();
    if (count <= 0)
        return 0;
    if (count >= maxDelayCount)
        return maxDelayCount;
    return std::uint32_t(count);
}

} // namespace velmora
