// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the toolkit meets the core: texts cross as UTF-8, a locale as its decimal separator.
#pragma once

#include "number_text.h"
#include "parameter_store.h"
#include "presets.h"
#include "run_report.h"
#include "run_time_error.h"
#include "start_action.h"

#include <QLocale>
#include <QString>

#include <string>
#include <string_view>

namespace velmora::qt {

inline QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

inline std::string decimalPoint(const QLocale& locale = QLocale()) {
    return locale.decimalPoint().toStdString();
}

inline QString numberToText(double value, const QLocale& locale = QLocale()) {
    return toQString(velmora::numberToText(value, decimalPoint(locale)));
}

inline double textToNumber(const QString& text, const QLocale& locale = QLocale()) {
    return velmora::textToNumber(toUtf8(text), decimalPoint(locale));
}

inline PresetTexts presetTexts(const QString& fi, const QString& rozteč, const QString& spomaleni) {
    return {toUtf8(fi), toUtf8(rozteč), toUtf8(spomaleni)};
}

inline Frequency frequencyFor(const QString& fiText, const QLocale& locale = QLocale()) {
    return velmora::frequencyFor(toUtf8(fiText), decimalPoint(locale));
}

inline QString frequencyCaptionFor(const QString& fiText, const QLocale& locale = QLocale()) {
    return toQString(velmora::frequencyCaptionFor(toUtf8(fiText), decimalPoint(locale)));
}

inline double detectorXFor(const QString& roztečText, double apertureX,
                           const QLocale& locale = QLocale()) {
    return velmora::detectorXFor(toUtf8(roztečText), apertureX, decimalPoint(locale));
}

inline std::optional<double> intensityScaleFor(const QString& roztečText) {
    return velmora::intensityScaleFor(toUtf8(roztečText));
}

inline std::uint32_t delayCountFor(const QString& spomaleniText,
                                   const QLocale& locale = QLocale()) {
    return velmora::delayCountFor(toUtf8(spomaleniText), decimalPoint(locale));
}

// A whole run without waiting, as tests and benchmarks drive it.
inline RunReport runStartAction(const ParameterStore& store, DrawingSurface& surface,
                                LabelBoard& labels, const QLocale& locale = QLocale()) {
    return velmora::runStartAction(store, surface, labels, decimalPoint(locale));
}

inline QString message(const RunTimeError& error) {
    return toQString(error.message());
}

} // namespace velmora::qt
