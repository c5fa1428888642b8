// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form.h"

#include "brake.h"
#include "number_text.h"
#include "spiral_scan.h"

#include <cstdio>
#include <stdexcept>

namespace velmora::form {

namespace {

const Font inherited, arial{"Arial", 9.75}, arialBold{"Arial", 9.75, true};
const Font times14{"Times New Roman", 14.25, true}, times15{"Times New Roman", 15.75, true};
using K = Kind;

// One row a control, in twips; an option button's last two: what its Click writes, and where.
// clang-format off
const std::vector<Control> table{
    {"HScroll1", K::ScrollBar, "", "", {3480, 480, 2415, 255}, inherited, true, 26},
    {"frmAnimace", K::Frame, "", "Animace", {240, 6360, 1215, 1215}, arialBold, false, 22},
    {"opPomalá", K::Option, "frmAnimace", "Pomalá", {120, 840, 855, 195}, inherited, true, 25},
    {"OpPomalejší", K::Option, "frmAnimace", "Pomalejší", {120, 600, 975, 195}, inherited, true, 24},
    {"opRychlá", K::Option, "frmAnimace", "Rychlá", {120, 360, 975, 195}, inherited, true, 23,
     false, "nSpomaleni", 1},
    {"nSpomaleni", K::TextBox, "", "Spomaleni", {3480, 840, 975, 285}, inherited, false, 21},
    {"nRozteč", K::TextBox, "", "Rozteč", {360, 4320, 1215, 375}, inherited, false, 16},
    {"frmVzdalenost", K::Frame, "", "Detector-Diafrag.", {120, 1800, 1815, 1215}, arialBold, true,
     14},
    {"opV400", K::Option, "frmVzdalenost", "400", {960, 840, 735, 255}, arial, true, 18, false,
     "nRozteč", 400},
    {"opV300", K::Option, "frmVzdalenost", "300", {240, 360, 735, 195}, arial, true, 17, false,
     "nRozteč", 300},
    {"opV350", K::Option, "frmVzdalenost", "350", {600, 600, 855, 255}, arial, true, 15, false,
     "nRozteč", 350},
    {"nFi", K::TextBox, "", "Fi", {2280, 1200, 495, 285}, inherited, false, 11},
    {"frmFrekvence", K::Frame, "", "Frequency", {120, 120, 1455, 1575}, arialBold, true, 8},
    {"op003", K::Option, "frmFrekvence", "lower", {600, 1200, 735, 255}, inherited, true, 20, false,
     "nFi", 0.03},
    {"op5", K::Option, "frmFrekvence", "higher", {120, 240, 1215, 195}, arial, true, 19, false,
     "nFi", 5},
    {"op02", K::Option, "frmFrekvence", "low", {480, 960, 735, 255}, arial, true, 12, false,
     "nFi", 0.2},
    {"op06", K::Option, "frmFrekvence", "middle", {360, 720, 975, 240}, arial, true, 10, false,
     "nFi", 0.6},
    {"op1", K::Option, "frmFrekvence", "high", {240, 468, 855, 255}, arial, true, 9, false,
     "nFi", 1},
    {"cmdKonec", K::Button, "", "Exit", {9480, 0, 975, 495}, times14, true, 7},
    {"cmdStart", K::Button, "", "Start", {8400, 0, 975, 495}, times15, true, 1},
    {"labPravděpodobnost", K::Label, "", "Probability (Interference pattern)",
     {240, 480, 2055, 495}, arialBold, false, 13, true},
    {"LabStart", K::Label, "", "Please press button Start", {3240, 2760, 3495, 495}, times15, true,
     6},
    {"labDetektorB", K::Label, "", "Detector   (Cornu spirals)", {3840, 480, 1575, 495},
     arialBold, false, 5, true},
    {"labDetektorA", K::Label, "", "Detector A", {2400, 480, 1335, 255}, arialBold, false, 4},
    {"labZdroj", K::Label, "", "Source", {6840, 0, 735, 255}, arialBold, false, 3},
    {"labClona", K::Label, "", "Diafragm with Aperture", {5400, 480, 1455, 615}, arialBold, false,
     2, true},
    {"labNeurcitost", K::Label, "", "Aperture diffraction", {3480, 120, 2775, 375}, times14, true,
     0},
};
// clang-format on

const std::vector<LoadStep> loadSteps{
    {"op06", "", 0},     {"", "nFi", 0.6},      {"opV350", "", 0},
    {"opRychlá", "", 0}, {"", "nSpomaleni", 1},
};

std::string& box(ParameterStore& store, std::string_view name) {
    if (name == "nFi")
        return store.nFi;
    if (name == "nRozteč")
        return store.nRozteč;
    if (name == "nSpomaleni")
        return store.nSpomaleni;
    throw std::out_of_range("no text box " + std::string(name));
}

void click(ParameterStore& store, std::string_view option, std::string_view decimalPoint) {
    const Control& c = control(option);
    if (!c.writes.empty())
        box(store, c.writes) = optionText(c, decimalPoint);
}

} // namespace

const std::vector<Control>& controls() {
    return table;
}

const Control& control(std::string_view name) {
    for (const Control& c : table) {
        if (c.name == name)
            return c;
    }
    throw std::out_of_range("no control " + std::string(name));
}

std::string optionText(const Control& option, std::string_view decimalPoint) {
    return numberToText(option.preset, decimalPoint);
}

const std::vector<LoadStep>& formLoad() {
    return loadSteps;
}

ParameterStore loadedStore(std::string_view decimalPoint, const std::vector<std::string>& clicks) {
    // The design-time texts, which loading replaces.
    ParameterStore store{control("nFi").caption, control("nRozteč").caption,
                         control("nSpomaleni").caption};
    for (const LoadStep& step : loadSteps) {
        if (!step.select.empty())
            click(store, step.select, decimalPoint);
        else
            box(store, step.box) = numberToText(step.value, decimalPoint);
    }
    for (const std::string& option : clicks)
        click(store, option, decimalPoint);
    return store;
}

std::string runLengthText(int speedBarValue, std::string_view decimalPoint) {
    const Brake brake{std::uint32_t(delayCountOf(speedBarValue))};
    const double seconds = scanPoints * std::chrono::duration<double>(brake.wait()).count();
    if (seconds < 0.05)
        return "instant";
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.1f", seconds);
    // The C library writes its locale's mark, which the desktop's toolkit may have set: the
    // mark is found by position, between the whole digits and the tenths.
    std::string text = digits;
    const auto mark = text.find_first_not_of("0123456789");
    return "about " + text.replace(mark, text.size() - 1 - mark, decimalPoint) + " s";
}

} // namespace velmora::form
