// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The form as every front end builds it: one keyboard order, what loading and each option
// button leave in the store with each locale's separator, that the run recognises every text
// the buttons write, and how the speed bar's value is said as a run's length.
#include "form.h"
#include "presets.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

using namespace velmora;

TEST_CASE("every tab index once, from 0 to 26") {
    std::vector<int> indexes;
    for (const form::Control& c : form::controls())
        indexes.push_back(c.tabIndex);
    std::sort(indexes.begin(), indexes.end());
    std::vector<int> expected(27);
    for (int i = 0; i < 27; ++i)
        expected[i] = i;
    CHECK(indexes == expected);
}

TEST_CASE("the store after loading and clicks") {
    const struct {
        const char* name;
        std::string point;
        std::vector<std::string> clicks;
        ParameterStore store;
    } rows[] = {
        {"loaded, English", ".", {}, {"0.6", "350", "1"}},
        {"loaded, Czech", ",", {}, {"0,6", "350", "1"}},
        {"loaded, Persian", "\u066B", {}, {"0\u066B6", "350", "1"}},
        {"higher, then 400", ".", {"op5", "opV400"}, {"5", "400", "1"}},
        {"lower, Czech", ",", {"op003"}, {"0,03", "350", "1"}},
        {"low, then high", ".", {"op02", "op1"}, {"1", "350", "1"}},
        {"300", ".", {"opV300"}, {"0.6", "300", "1"}},
        {"a speed button without a handler", ".", {"OpPomalejší"}, {"0.6", "350", "1"}},
    };
    for (const auto& r : rows) {
        CAPTURE(r.name);
        const ParameterStore store = form::loadedStore(r.point, r.clicks);
        CHECK(store.nFi == r.store.nFi);
        CHECK(store.nRozteč == r.store.nRozteč);
        CHECK(store.nSpomaleni == r.store.nSpomaleni);
    }
    CHECK_THROWS_AS(form::loadedStore(".", {"op7"}), std::out_of_range);
}

// The writers' table and the reader's agree: every frequency button's text is its own preset,
// and every distance button's text has a scale.
TEST_CASE("the run recognises what every option button writes") {
    std::set<std::string> captions;
    for (const std::string point : {".", ",", "\u066B"}) {
        for (const form::Control& c : form::controls()) {
            if (c.writes.empty())
                continue;
            CAPTURE(c.name);
            CAPTURE(point);
            const std::string text = form::optionText(c, point);
            if (c.writes == "nFi") {
                CHECK(frequencyCaptionFor(text, point) == c.caption);
                CHECK(frequencyFor(text, point).stepLength > 0);
                captions.insert(c.caption);
            } else if (c.writes == "nRozteč") {
                CHECK(intensityScaleFor(text));
                CHECK(text == c.caption);
            }
        }
    }
    CHECK(captions == std::set<std::string>{"higher", "high", "middle", "low", "lower"});
}

TEST_CASE("run length at a speed bar value") {
    const struct {
        int value;
        std::string point, text;
    } rows[] = {
        {0, ".", "instant"},         {1, ".", "instant"},
        {500, ".", "about 0.1 s"},   {3277, ".", "about 0.4 s"},
        {16383, ".", "about 2.0 s"}, {16383, ",", "about 2,0 s"},
        {32767, ".", "about 3.9 s"}, {32767, "\u066B", "about 3\u066B9 s"},
    };
    for (const auto& r : rows) {
        CAPTURE(r.value);
        CAPTURE(r.point);
        CHECK(form::runLengthText(r.value, r.point) == r.text);
    }
}
