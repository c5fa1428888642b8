// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preset tables, the number-text routine and the busy-wait count, with the separators of a
// locale with a decimal point, one with a decimal comma and two that have digits of their own;
// the count's wait on a fake clock.
#include "brake.h"
#include "number_text.h"
#include "presets.h"
#include "run_time_error.h"

#include <doctest/doctest.h>

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace velmora;

namespace {

struct Locale {
    const char* name;
    std::string point;
};
const Locale english{"en", "."}, czech{"cs", ","}, arabic{"ar", "\u066B"}, persian{"fa", "\u066B"};
const Locale locales[] = {english, czech, arabic, persian};

// Time passes only when read, one nanosecond per read, or when slept.
struct FakeClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<FakeClock>;
    time_point t{};
    std::int64_t reads = 0;
    time_point now() {
        ++reads;
        return t += duration(1);
    }
    void operator()(duration d) { t += d; }
};

// 0 when the call returns, else the number of the RunTimeError it throws.
template <class F> int errorNumberOf(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

struct CountRow {
    const char* name;
    Locale locale;
    std::string text;
    std::uint32_t count;
    int error;
};

std::vector<CountRow> countRows() {
    const std::uint32_t max = maxDelayCount;
    return {
        {"one", english, "1", 1, 0},
        {"zero", english, "0", 0, 0},
        {"fraction cut", english, "2.9", 2, 0},
        {"cs: fraction cut", czech, "2,9", 2, 0},
        {"negative fraction", english, "-0.5", 0, 0},
        {"negative", english, "-5", 0, 0},
        {"scroll bar maximum", english, "983011", max, 0},
        {"one above the maximum", english, "983012", max, 0},
        {"huge", english, "1e12", max, 0},
        {"infinity held", english, "inf", max, 0},
        {"minus infinity", english, "-inf", 0, 0},
        {"NaN", english, "nan", 0, 6},
        {"beyond a double", english, "1e309", 0, 6},
        {"not a number", english, "abc", 0, 13},
        {"empty", english, "", 0, 13},
        {"cs: decimal point", czech, "2.9", 0, 13},
        {"cs: group separator", czech, "1\u00A0000", 0, 13},
        {"en: group separator", english, "1,000", 0, 13},
        {"ar: scroll bar maximum", arabic, "983011", max, 0},
        {"ar: fraction cut", arabic, "2\u066B9", 2, 0},
        {"ar: Arabic-Indic digits", arabic, "\u0663\u0661", 0, 13},
        {"fa: group separator", persian, "1\u066C000", 0, 13},
    };
}

} // namespace

TEST_CASE("frequency table") {
    struct Row {
        std::string name, point, text;
        double stepLength, phaseFactor;
    };
    std::vector<Row> rows;
    for (const Locale& l : locales) {
        const auto row = [&](const char* what, std::string text, double step, double phase) {
            rows.push_back(
                {std::string(l.name).append(": ").append(what), l.point, text, step, phase});
        };
        row("5", "5", 10, 5);
        row("1", "1", 1.5, 0.1);
        row("text of 0.6", numberToText(0.6, l.point), 1, 0.05);
        row("text of 0.2", numberToText(0.2, l.point), 0.4, 0.01);
        row("text of 0.03", numberToText(0.03, l.point), 0.18, 0.0015);
        row("5 with a leading zero", "05", 0, 0);
        row("empty", "", 0, 0);
        // Appended: GCC 12 warns falsely of overlapping copies for " " + text.
        row("0.6 padded", std::string(" ").append(numberToText(0.6, l.point)), 0, 0);
    }
    rows.push_back({"cs: 0.6 with a point", czech.point, "0.6", 0, 0});
    rows.push_back({"ar: 0.6 written out", arabic.point, "0\u066B6", 1, 0.05});
    rows.push_back({"ar: 5 in Arabic-Indic digits", arabic.point, "\u0665", 0, 0});
    rows.push_back({"fa: 0.6 with a point", persian.point, "0.6", 0, 0});
    rows.push_back({"en: 0,6 with a comma", english.point, "0,6", 0, 0});
    for (const Row& r : rows) {
        CAPTURE(r.name);
        const Frequency f = frequencyFor(r.text, r.point);
        // Table constants, copied rather than computed.
        CHECK(f.stepLength == r.stepLength);
        CHECK(f.phaseFactor == r.phaseFactor);
    }
}

TEST_CASE("number to text") {
    const struct {
        const char* name;
        Locale locale;
        double value;
        std::string text;
    } rows[] = {
        {"en: 0.6", english, 0.6, "0.6"},
        {"cs: 0.6", czech, 0.6, "0,6"},
        {"en: 0.03", english, 0.03, "0.03"},
        {"en: 983011 without grouping", english, 983011, "983011"},
        {"cs: 983011 without grouping", czech, 983011, "983011"},
        {"en: a million, no exponent", english, 1e6, "1000000"},
        {"ar: 0.03", arabic, 0.03, "0\u066B03"},
        {"ar: 983011 in ASCII", arabic, 983011, "983011"},
        {"fa: -5 in ASCII", persian, -5, "-5"},
        {"fa: exponent in ASCII", persian, -1.5e-7, "-1\u066B5e-07"},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        CHECK(numberToText(r.value, r.locale.point) == r.text);
        CHECK(std::fabs(textToNumber(r.text, r.locale.point) - r.value) <=
              1e-12 * std::fabs(r.value));
    }
}

TEST_CASE("distance rule") {
    const std::optional<double> none;
    const struct {
        std::string text;
        double detectorX; // ignored when an error is expected
        std::optional<double> scale;
        int error;
    } rows[] = {
        {"300", 4500, 0.017, 0}, {"350", 5500, 0.009, 0}, {"400", 6500, 0.006, 0},
        {"0350", 5500, none, 0}, {"+350", 5500, none, 0}, {"-25", -2000, none, 0},
        {"abc", 0, none, 13},    {"", 0, none, 13},       {"1e308", 0, none, 6},
        {"1e309", 0, none, 6},   {"inf", 0, none, 6},     {"nan", 0, none, 6},
    };
    for (const auto& r : rows) {
        CAPTURE(r.text);
        for (const Locale& l : locales) {
            CAPTURE(l.name);
            double x = 0;
            CHECK(errorNumberOf([&] { x = detectorXFor(r.text, 3500, l.point); }) == r.error);
            if (r.error == 0)
                CHECK(std::fabs(x - r.detectorX) < 1e-9);
        }
        CHECK(intensityScaleFor(r.text) == r.scale);
    }
}

TEST_CASE("delay count") {
    for (const CountRow& r : countRows()) {
        CAPTURE(r.name);
        std::uint32_t got = 0;
        CHECK(errorNumberOf([&] { got = delayCountFor(r.text, r.locale.point); }) == r.error);
        CHECK(got == r.count);
    }
}

// The count that reaches the brake waits that many units of fake time, and 0 reads no clock.
TEST_CASE("delay count waited") {
    for (const CountRow& r : countRows()) {
        if (r.error != 0)
            continue; // no count reaches the brake; the delay count test checks the refusal
        CAPTURE(r.name);
        FakeClock clock;
        brakeWait(Brake{delayCountFor(r.text, r.locale.point)}.wait(), clock, clock);
        const std::int64_t waited = r.count == 0 ? 0 : clock.t.time_since_epoch().count() - 1;
        CHECK(waited == std::int64_t(r.count) * brakeUnit.count());
        CHECK((clock.reads == 0) == (r.count == 0));
    }
}
