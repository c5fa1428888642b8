// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a twip of the drawing stands for in physical lengths, both ways, with the texts that
// show a length with its unit and read one back.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora {

// One twip stands for 550 nm × 0.05 / 2π, so that the middle frequency (0.05 rad per twip of
// path) is green light of 550 nm.
inline constexpr double pi = 3.14159265358979323846;
inline constexpr double nanometresPerTwip = 550 * 0.05 / (2 * pi);

constexpr double twipsToNanometres(double twips) {
    return twips * nanometresPerTwip;
}
constexpr double nanometresToTwips(double nanometres) {
    return nanometres / nanometresPerTwip;
}

// A length with its unit, nm below 1 µm, µm below 1 mm, mm above: wavelengths with three
// significant digits ("5.50 nm", "18.3 µm"), the scene's lengths with four ("8.754 µm").
// Two lengths with the same text are the same length as far as anyone can tell.
std::string wavelengthText(double twips, std::string_view decimalPoint = ".");
std::string lengthText(double twips, std::string_view decimalPoint = ".");

// A plain number with `digits` significant digits, but never fewer than its whole part has:
// λ-multiples and the Fresnel number ("15.92", "0.0796", "1592").
std::string significantText(double value, int digits, std::string_view decimalPoint = ".");

// The free values of an Explore run and the ranges the drawing can hold.
enum class Quantity { Wavelength, ApertureWidth, DetectorDistance };

struct QuantityRange {
    Quantity quantity;
    const char* name;    // "wavelength", for messages
    double lowest;       // nanometres, inclusive
    double highest;      // nanometres, inclusive
    const char* example; // a value as a user would write it
};

// The aperture may open as far as the diaphragm reaches above the axis (2000 twips, 8.75 µm);
// the detector stays clear of the diaphragm's label on the left and stops by the plot's label
// on the right, as the farthest preset does.
inline constexpr std::array<QuantityRange, 3> quantityRanges{{
    {Quantity::Wavelength, "wavelength", 5, 20000, "550 nm"},
    {Quantity::ApertureWidth, "aperture width", 1000, 17500, "8.754 µm"},
    {Quantity::DetectorDistance, "detector distance", 1200, 13200, "8.754 µm"},
}};

const QuantityRange& rangeOf(Quantity quantity);

// "from 5 nm to 20 µm"
std::string rangeText(Quantity quantity, std::string_view decimalPoint = ".");

// A length read from text such as "550 nm", "0.55um", "8,754 µm": a number in the locale's
// form (see textToNumber) and one of the units nm, um, µm, mm. On success `error` is empty and
// `twips` holds the length; otherwise `error` says in English what is wrong and what would
// do, naming the range.
struct LengthReading {
    double twips = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};

LengthReading readLength(std::string_view text, Quantity quantity,
                         std::string_view decimalPoint = ".");

} // namespace velmora
