// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's texts in Qt's types: strings cross as UTF-8, a locale as its decimal separator.
#pragma once

#include "number_text.h"
#include "run_time_error.h"

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

inline QString message(const RunTimeError& error) {
    return toQString(error.message());
}

} // namespace velmora::qt
