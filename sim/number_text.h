// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The one conversion between numbers and their text, both ways, in the user's locale.
// The option buttons write presets with it and the Start action recognises them with it,
// so the two always agree.
#pragma once

#include <QLocale>
#include <QString>

namespace velmora {

// ASCII digits, '-' and 'e' in every locale, so "5" is "5" also where the locale has digits of
// its own; only a fraction's decimal separator is the locale's ("0,6", "0٫6"). Whole numbers
// are plain digits ("983011").
QString numberToText(double value, const QLocale& locale = QLocale());

// Reads what numberToText writes in the same locale: ASCII digits, an optional sign and
// exponent, the locale's decimal separator and nothing else of the locale's (no group
// separators, no native digits, no other decimal mark); surrounding spaces are ignored.
// Throws RunTimeError "Type mismatch" for text that is not a number, "Overflow" for a number
// beyond the range of a double.
double textToNumber(const QString& text, const QLocale& locale = QLocale());

} // namespace velmora
