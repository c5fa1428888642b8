// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Physical lengths as the panels and the command line show and read them, with a decimal point,
// a decimal comma and the Arabic decimal separator.
#include "units.h"

#include <doctest/doctest.h>

#include <string>

using namespace velmora;

namespace {
constexpr const char* arabic = "\u066B";
} // namespace

TEST_CASE("lengths show with their unit and significant digits") {
    struct Row {
        const char* name;
        std::string shown;
        const char* expected;
    };
    const Row rows[] = {
        {"higher", wavelengthText(2 * pi / 5), "5.50 nm"},
        {"high", wavelengthText(2 * pi / 0.1), "275 nm"},
        {"middle", wavelengthText(2 * pi / 0.05), "550 nm"},
        {"low", wavelengthText(2 * pi / 0.01), "2.75 µm"},
        {"lower", wavelengthText(2 * pi / 0.0015), "18.3 µm"},
        {"aperture", lengthText(2000), "8.754 µm"},
        {"distance 300", lengthText(1000), "4.377 µm"},
        {"distance 400", lengthText(3000), "13.13 µm"},
        {"rounding carries into the next unit", wavelengthText(nanometresToTwips(999.96)),
         "1.00 µm"},
        {"below a nanometre", wavelengthText(nanometresToTwips(0.5)), "0.500 nm"},
        {"millimetres", lengthText(nanometresToTwips(2.5e6)), "2.500 mm"},
        {"decimal comma", lengthText(2000, ","), "8,754 µm"},
        {"Arabic separator", wavelengthText(2 * pi / 0.0015, arabic), "18\u066B3 µm"},
        {"multiple of λ", significantText(100 / (2 * pi), 4), "15.92"},
        {"small Fresnel number", significantText(0.0795775, 3), "0.0796"},
        {"whole digits kept", significantText(1591.55, 3), "1592"},
        {"rounding carries a digit", significantText(9.996, 3), "10.0"},
        {"comma in a plain number", significantText(0.0795775, 3, ","), "0,0796"},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(row.shown == row.expected);
    }
}

TEST_CASE("lengths read with a unit, and refusals name the range") {
    struct Row {
        const char* name;
        const char* text;
        Quantity quantity;
        const char* decimalPoint;
        double nanometres; // 0: refused
        const char* message;
    };
    constexpr auto λ = Quantity::Wavelength;
    const Row rows[] = {
        {"nanometres", "550 nm", λ, ".", 550, ""},
        {"no space, trailing space", "550nm  ", λ, ".", 550, ""},
        {"no-break space", "550\u00A0nm", λ, ".", 550, ""},
        {"um", "0.55um", λ, ".", 550, ""},
        {"micro sign", "0.55 \u00B5m", λ, ".", 550, ""},
        {"Greek mu", "0.55 \u03BCm", λ, ".", 550, ""},
        {"millimetres", "0.00055mm", λ, ".", 550, ""},
        {"exponent", "5.5e2 nm", λ, ".", 550, ""},
        {"lowest", "5 nm", λ, ".", 5, ""},
        {"highest in another unit", "0.02 mm", λ, ".", 20000, ""},
        {"decimal comma", "8,754 µm", Quantity::ApertureWidth, ",", 8754, ""},
        {"Arabic separator", "8\u066B754 µm", Quantity::DetectorDistance, arabic, 8754, ""},
        {"bare number", "550", λ, ".", 0,
         "The wavelength has no unit: write it with nm, µm (or um) or mm, from 5 nm to 20 µm, "
         "for example \"550 nm\"."},
        {"empty", "  ", λ, ".", 0, "No wavelength given: write it with nm,"},
        {"not a number", "abc nm", λ, ".", 0, "The wavelength is not a number with a unit:"},
        {"unit alone", "nm", λ, ".", 0, "is not a number with a unit"},
        {"NaN", "nan nm", λ, ".", 0, "is not a number with a unit"},
        {"unknown unit", "550 km", λ, ".", 0, "is not a number with a unit"},
        {"point where the locale has a comma", "0.55 µm", λ, ",", 0, "not a number"},
        {"zero", "0 nm", λ, ".", 0,
         "The wavelength 0 nm is out of range: it must be from 5 nm to 20 µm."},
        {"negative", "-550 nm", λ, ".", 0, "-550 nm is out of range"},
        {"just below", "4.99 nm", λ, ".", 0, "out of range"},
        {"overflow", "1e400 nm", λ, ".", 0, "The wavelength is out of range: it must be from"},
        {"infinite", "inf nm", λ, ".", 0, "The wavelength is out of range"},
        {"aperture too narrow", "0,9 µm", Quantity::ApertureWidth, ",", 0,
         "The aperture width 0,9 µm is out of range: it must be from 1 µm to 17,5 µm."},
        {"detector too far", "13.3um", Quantity::DetectorDistance, ".", 0,
         "it must be from 1.2 µm to 13.2 µm."},
        {"comma example", "8,754", Quantity::DetectorDistance, ",", 0, "for example \"8,754 µm\"."},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        const LengthReading reading = readLength(row.text, row.quantity, row.decimalPoint);
        CHECK(reading.ok() == (row.nanometres > 0));
        CHECK(twipsToNanometres(reading.twips) == doctest::Approx(row.nanometres).epsilon(1e-12));
        CHECK(reading.error.find(row.message) != std::string::npos);
    }
}
