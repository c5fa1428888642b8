// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture's files as the core writes them for every front end: CSV rows that read back as
// the very bars, SVG numbers and texts that no locale changes, and an SVG drawing of what the
// run drew and no more.
#include "intensities_csv.h"
#include "number_text.h"
#include "run_report.h"
#include "start_action.h"
#include "svg_picture.h"
#include "svg_surface.h"

#include <doctest/doctest.h>

#include <cmath>
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

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_CASE("CSV rows read back as the bars, whatever the locale") {
    const CommaLocale comma;
    NullSurface surface;
    NoLabels labels;
    const RunReport report =
        runStartAction({numberToText(0.6), "350", "0"}, surface, labels).report;
    std::istringstream csv(intensitiesCsv(report.intensities));
    std::string row;
    std::getline(csv, row);
    CHECK(row == "y_twips,intensity_twips");
    for (std::size_t i = 0; std::getline(csv, row); ++i) {
        CAPTURE(row);
        REQUIRE(i < report.intensities.size());
        const std::size_t comma = row.find(',');
        REQUIRE(row.find(',', comma + 1) == std::string::npos);
        CHECK(row.substr(0, comma) == std::to_string(7000 - 25 * int(i)));
        CHECK(std::strtod(row.c_str() + comma + 1, nullptr) == report.intensities[i]);
    }
}

TEST_CASE("SVG numbers") {
    const CommaLocale comma;
    const struct {
        const char* name;
        double value;
        const char* text;
    } rows[] = {
        {"whole", 765, "765"},
        {"a third, to thousandths", 1.0 / 3, "0.333"},
        {"no trailing zeros", -2.25, "-2.25"},
        {"rounded to zero, unsigned", -0.0004, "0"},
        {"beyond any picture, held", 1e300, "1000000000000"},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        CHECK(svg::number(r.value) == r.text);
    }
}

TEST_CASE("SVG texts") {
    CHECK(svg::escaped("a < b & \"c\" > d") == "a &lt; b &amp; &quot;c&quot; &gt; d");
    CHECK(svg::escaped("\x1b[31mred\u202e") == "[31mred\u202e"); // XML holds no C0 control
}

TEST_CASE("an SVG picture draws the run as far as it went") {
    const struct {
        const char* name;
        std::optional<ParameterStore> run;
        int steps;
        std::size_t circles; // the source disc and one dot a step
    } rows[] = {
        {"before the first run", std::nullopt, scanPoints, 0},
        {"a stopped run", ParameterStore{numberToText(0.6), "350", "0"}, 57, 1 + 57},
        {"a whole run", ParameterStore{numberToText(0.6), "350", "0"}, scanPoints, 1 + 221},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        PictureContent content{r.run, r.steps, {"op06"}, {}, 0, "Velmora", "a < b"};
        const std::string svg = svgPicture(content, 2, ".");
        CHECK(count(svg, "<circle") - count(svgControls(content, 2), "<circle") == r.circles);
        CHECK(svg.find("width=\"1530\" height=\"1120\" viewBox=\"0 0 765 560\"") !=
              std::string::npos);
        CHECK(svg.find("<desc>a &lt; b</desc>") != std::string::npos);
    }
}
