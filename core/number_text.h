// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The one conversion between numbers and their text, both ways. The option buttons write
// presets with it and the Start action recognises them with it, so the two always agree. The
// front end passes its locale's decimal separator, as UTF-8 ("." "," "٫").
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// ASCII digits, '-' and 'e' in every locale, so "5" is "5" also where the locale has digits of
// its own; only a fraction's decimal separator is the locale's ("0,6", "0٫6"). Whole numbers
// are plain digits ("983011"); other values the shortest text that reads back exactly.
std::string numberToText(double value, std::string_view decimalPoint = ".");

// Reads what numberToText writes with the same separator: ASCII digits, an optional sign and
// exponent, the separator and nothing else of the locale's (no group separators, no native
// digits, no other decimal mark); surrounding white space is ignored.
// Throws RunTimeError "Type mismatch" for text that is not a number, "Overflow" for a number
// beyond the range of a double.
double textToNumber(std::string_view text, std::string_view decimalPoint = ".");

} // namespace velmora
