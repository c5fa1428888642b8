// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "number_text.h"

#include "run_time_error.h"

#include <cmath>

namespace velmora {

namespace {
// The C locale's grammar does the work both ways; the user's locale lends only its decimal
// separator. A locale's own digits, minus sign and exponent would make the whole-number
// presets ("5", "1") unrecognisable where they differ from ASCII.
const QString cPoint = QStringLiteral(".");

QLocale cLocale() {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return c;
}
} // namespace

QString numberToText(double value, const QLocale& locale) {
    // Integers below 2^53 are exact; 'g' would turn 1e6 into an exponent.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9007199254740992.0)
        return QString::number(qint64(value));
    QString text = cLocale().toString(value, 'g', QLocale::FloatingPointShortest);
    return text.replace(cPoint, locale.decimalPoint());
}

double textToNumber(const QString& text, const QLocale& locale) {
    const QString point = locale.decimalPoint();
    bool ok = false;
    double value = 0;
    // A '.' where the locale writes another mark is some other number's text (or a group
    // separator, as in "1.000"): refused, not read as a fraction.
    if (point == cPoint || !text.contains(cPoint))
        value = cLocale().toDouble(QString(text).replace(point, cPoint), &ok);
    if (!ok) // a number too large for a double is still a number: it overflows
        throw std::isinf(value) ? RunTimeError::overflow() : RunTimeError::typeMismatch();
    return value;
}

} // namespace velmora
