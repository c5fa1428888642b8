// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Physical lengths as the panels and the command line show and read them, with a decimal point,
// a decimal comma and the Arabic decimal separator.
#include "units.h"

#include <doctest/doctest.h>

#include <string>

using namespace velmora;

TEST_CASE("lengths show with their unit and significant digits") {
    const std::pair<std::string, const char*> rows[] = {
        {wavelengthText(2 * pi / 5), "5.50 nm"},
        {wavelengthText(2 * pi / 0.01), "2.75 µm"},
        {wavelengthText(2 * pi / 0.0015), "18.3 µm"},
        {lengthText(2000), "8.754 µm"},
        {lengthText(3000), "13.13 µm"},
        {wavelengthText(nanometresToTwips(999.96)), "1.00 µm"},
        {lengthText(2000, ","), "8,754 µm"},
        {wavelengthText(2 * pi / 0.0015, "\u066B"), "18\u066B3 µm"},
        {significantText(1591.55, 3), "1592"},
        {significantText(9.996, 3), "10.0"},
        {significantText(0.0795775, 3, ","), "0,0796"},
    };
    for (const auto& [shown, expected] : rows)
        CHECK(shown == expected);
}

TEST_CASE("lengths read with a unit, and refusals name the range") {
    struct Row {
        const char* text;
        Quantity quantity;
        const char* decimalPoint;
        double nanometres; // 0: refused with `message`
        const char* message;
    };
    constexpr auto λ = Quantity::Wavelength, a = Quantity::ApertureWidth,
                   D = Quantity::DetectorDistance;
    const Row rows[] = {
        {"550nm  ", λ, ".", 550, ""},
        {"0.55um", λ, ".", 550, ""},
        {"0.55 \u00B5m", λ, ".", 550, ""},
        {"0.55 \u03BCm", λ, ".", 550, ""},
        {"0.02mm", λ, ".", 20000, ""},
        {"8,754 µm", a, ",", 8754, ""},
        {"8\u066B754 µm", D, "\u066B", 8754, ""},
        {"550", λ, ".", 0,
         "The wavelength has no unit: write it with nm, µm (or um) or mm, from 5 nm to 20 µm, "
         "for example \"550 nm\"."},
        {"  ", λ, ".", 0, "No wavelength given: write it with nm,"},
        {"550 km", λ, ".", 0, "The wavelength is not a number with a unit:"},
        {"nan nm", λ, ".", 0, "is not a number with a unit"},
        {"4.99 nm", λ, ".", 0,
         "The wavelength 4.99 nm is out of range: it must be from 5 nm to 20 µm."},
        {"1e400 nm", λ, ".", 0, "The wavelength is out of range: it must be from"},
        {"0,9 µm", a, ",", 0,
         "The aperture width 0,9 µm is out of range: it must be from 1 µm to 17,5 µm."},
        {"13.3um", D, ".", 0, "it must be from 1.2 µm to 13.2 µm."},
        {"8,754", D, ",", 0, "for example \"8,754 µm\"."},
    };
    for (const Row& row : rows) {
        INFO(row.text);
        const LengthReading reading = readLength(row.text, row.quantity, row.decimalPoint);
        CHECK(reading.ok() == (row.nanometres > 0));
        CHECK(twipsToNanometres(reading.twips) == doctest::Approx(row.nanometres).epsilon(1e-12));
        CHECK(reading.error.find(row.message) != std::string::npos);
    }
}
