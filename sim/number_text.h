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

// Whole numbers are plain digits ("983011"); fractions use the locale's decimal separator.
QString numberToText(double value, const QLocale& locale = QLocale());

// Throws RunTimeError "Type mismatch" for text that is not a number, "Overflow" for a number
// beyond the range of a double.
double textToNumber(const QString& text, const QLocale& locale = QLocale());

} // namespace velmora
