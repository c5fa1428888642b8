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
    const char16_t* caption; // of the option button that writes the preset
};
constexpr std::array frequencyRows{
    FrequencyRow{5, {10, 5}, u"higher"},          FrequencyRow{1, {1.5, 0.1}, u"high"},
    FrequencyRow{0.6, {1, 0.05}, u"middle"},      FrequencyRow{0.2, {0.4, 0.01}, u"low"},
    FrequencyRow{0.03, {0.18, 0.0015}, u"lower"},
};

const FrequencyRow* frequencyRowFor(const QString& fiText, const QLocale& locale) {
    for (const FrequencyRow& row : frequencyRows) {
        if (fiText == numberToText(row.preset, locale))
            return &row;
    }
    return nullptr;
}
} // namespace

Frequency frequencyFor(const QString& fiText, const QLocale& locale) {
    const FrequencyRow* row = frequencyRowFor(fiText, locale);
    return row ? row->frequency : Frequency{};
}

QString frequencyCaptionFor(const QString& fiText, const QLocale& locale) {
    const FrequencyRow* row = frequencyRowFor(fiText, locale);
    return row ? QString::fromUtf16(row->caption) : QString();
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
