// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "number_text.h"

#include "run_time_error.h"

#include <cmath>

namespace velmora {

namespace {
QLocale plain(QLocale locale) {
    // Plain digits both ways: "1,000" must not pass for a thousand where ',' is the decimal mark.
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator |
                            QLocale::RejectGroupSeparator);
    return locale;
}
} // namespace

QString numberToText(double value, const QLocale& locale) {
    const QLocale l = plain(locale);
    // Integers below 2^53 are exact; 'g' would turn 1e6 into an exponent.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9007199254740992.0)
        return l.toString(qint64(value));
    return l.toString(value, 'g', QLocale::FloatingPointShortest);
}

double textToNumber(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = plain(locale).toDouble(text, &ok);
    if (!ok) // a number too large for a double is still a number: it overflows
        throw std::isinf(value) ? RunTimeError::overflow() : RunTimeError::typeMismatch();
    return value;
}

} // namespace velmora
