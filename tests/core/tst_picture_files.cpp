// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture's files as the core writes them for every front end: CSV rows that read back as
// the very bars, and SVG numbers and texts that no locale changes.
#include "intensities_csv.h"
#include "number_text.h"
#include "run_report.h"
#include "start_action.h"
#include "svg_surface.h"
#include "theory_curve.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

using namespace velmora;

namespace {

// A decimal comma and grouping, as a German or Czech user's C++ locale has them.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// For the test's length: the program's own global locale comes back afterwards.
struct CommaLocale {
    std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    ~CommaLocale() { std::locale::global(before); }
};

} // namespace

TEST_CASE("CSV rows read back as the bars, whatever the locale") {
    const CommaLocale comma;
    NullSurface surface;
    NoLabels labels;
    const RunResult run = runStartAction({numberToText(0.6), "350", "0"}, surface, labels);
    const std::vector<double> theory = theoryIntensities(run.parameters);
    std::istringstream csv(intensitiesCsv(run.report.intensities, theory));
    std::string row;
    std::getline(csv, row);
    CHECK(row == "y_twips,intensity_twips,theory_twips");
    for (std::size_t i = 0; std::getline(csv, row); ++i) {
        CAPTURE(row);
        REQUIRE(i < run.report.intensities.size());
        const std::size_t comma = row.find(',');
        const std::size_t second = row.find(',', comma + 1);
        REQUIRE(row.find(',', second + 1) == std::string::npos);
        CHECK(row.substr(0, comma) == std::to_string(7000 - 25 * int(i)));
        CHECK(std::strtod(row.c_str() + comma + 1, nullptr) == run.report.intensities[i]);
        CHECK(std::strtod(row.c_str() + second + 1, nullptr) == theory[i]);
    }
}

TEST_CASE("SVG numbers") {
    const CommaLocale comma;
    const struct {
        const char* name;
        double value;
        const char* text;
    } rows[] = {
        {"a third, to thousandths", 1.0 / 3, "0.333"},
        {"no trailing zeros", -2.25, "-2.25"},
        {"beyond any picture, held", 1e300, "1000000000000"},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        CHECK(svg::number(r.value) == r.text);
    }
}

TEST_CASE("SVG texts") {
    CHECK(svg::escaped("\x1b[31mred\u202e") == "[31mred\u202e"); // XML holds no C0 control
}
