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

TEST_CASE("input during a run") {
    // S Start, X Exit, E Escape, O other input; a act, h hold, d drop, s stop.
    const auto take = [](InputDuringRun& rule, const std::string& input) {
        std::string verdicts;
        for (const char c : input) {
            const Verdict v = rule.take(c == 'S'   ? Input::Start
                                        : c == 'X' ? Input::Exit
                                        : c == 'E' ? Input::Escape
                                                   : Input::Other);
            verdicts += "ahds"[int(v)];
        }
        return verdicts;
    };
    const struct {
        const char* name;
        std::string input, verdicts;
        std::vector<int> acted; // the holds acted on at the run's end
    } rows[] = {
        {"Start waits once, in its place among the rest", "OSSO", "hhdh", {0, 1, 2}},
        {"Exit drops what waits, and all after it", "OSXSO", "hhhdd", {2}},
        {"Escape stops, and forgets a Start that waited", "OSE", "hhs", {0}},
        {"Start after Escape waits", "ES", "sh", {0}},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        InputDuringRun rule;
        rule.runBegins();
        CHECK(take(rule, r.input) == r.verdicts);
        CHECK(rule.stopping() == (r.input.find('E') != std::string::npos));
        CHECK(rule.runEnds() == r.acted);
        CHECK(take(rule, "SXEO") == "aaaa"); // between runs everything acts at once
        rule.runBegins();                    // and a new run forgets the last one's input
        CHECK(take(rule, "SO") == "hh");
    }
}
