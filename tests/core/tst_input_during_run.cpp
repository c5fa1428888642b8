// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The rule for input during a run, as sequences of input and what becomes of each of them.
#include "input_during_run.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

using namespace velmora;
using Input = InputDuringRun::Input;
using Verdict = InputDuringRun::Verdict;

namespace {

// S Start, X Exit, E Escape, O other input; a act, h hold, d drop, s stop.
Input inputOf(char c) {
    return c == 'S'   ? Input::Start
           : c == 'X' ? Input::Exit
           : c == 'E' ? Input::Escape
                      : Input::Other;
}

char letterOf(Verdict v) {
    return v == Verdict::Act ? 'a' : v == Verdict::Hold ? 'h' : v == Verdict::Drop ? 'd' : 's';
}

std::string take(InputDuringRun& rule, const std::string& input) {
    std::string verdicts;
    for (const char c : input)
        verdicts += letterOf(rule.take(inputOf(c)));
    return verdicts;
}

} // namespace

TEST_CASE("input during a run") {
    const struct {
        const char* name;
        std::string input, verdicts;
        std::vector<int> acted; // the holds acted on at the run's end
        bool stopping;
    } rows[] = {
        {"twenty presses of Start wait once",
         std::string(20, 'S'),
         "h" + std::string(19, 'd'),
         {0},
         false},
        {"other input waits in order, Start in its place", "OSOO", "hhhh", {0, 1, 2, 3}, false},
        {"Exit drops what waits, and all after it", "OSOXSO", "hhhhdd", {3}, false},
        {"Escape stops, and forgets a Start that waited", "OSE", "hhs", {0}, true},
        {"Start after Escape waits", "ES", "sh", {0}, true},
        {"Escape after Exit still stops", "XE", "hs", {0}, true},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        InputDuringRun rule;
        rule.runBegins();
        CHECK(take(rule, r.input) == r.verdicts);
        CHECK(rule.stopping() == r.stopping);
        CHECK(rule.runEnds() == r.acted);
        CHECK(take(rule, "SXEO") == "aaaa"); // between runs everything acts at once
    }
}

TEST_CASE("a new run forgets the last one's input") {
    InputDuringRun rule;
    rule.runBegins();
    take(rule, "SXE");
    rule.runEnds();
    rule.runBegins();
    CHECK(!rule.stopping());
    CHECK(take(rule, "SO") == "hh");
}
