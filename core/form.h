// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window frmVelmora as data, for every front end to build its controls from: their
// kind, caption, place, font, keyboard order and visibility, the preset each option button's
// Click writes, what Form_Load does, and the speed bar's rule.
#pragma once

#include "parameter_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::form {

// Layout coordinates are twips; at 100 % a pixel is 15 of them, the client area 765 × 560.
inline constexpr double twipsPerPixel = 15;
inline constexpr int clientWidth = 11475, clientHeight = 8400;

inline const std::string title = "Velmora - www.velmora.example.org";

enum class Kind { Label, Frame, Option, Button, TextBox, ScrollBar };

struct Font {
    std::string face; // empty: the window font
    double points = 0;
    bool bold = false;
};
inline const Font windowFont{"Arial", 8, false};

struct Twips {
    int left, top, width, height; // from the corner of the container's client area
};

struct Control {
    std::string name;
    Kind kind;
    std::string container; // a frame, or empty for the window
    std::string caption;   // or a text box's initial text
    Twips twips;
    Font font;
    bool shown;
    int tabIndex;
    bool centred = false; // a label's lines; others are left-aligned
    std::string writes{}; // the text box an option button's Click writes; empty: no handler
    double preset = 0;    // the number whose text it writes there
};

// In layout order, each frame before its option buttons.
const std::vector<Control>& controls();
// Throws std::out_of_range for a name the form does not have.
const Control& control(std::string_view name);

// The text an option button's Click writes: whole numbers as plain digits, fractions with the
// locale's separator, through the one conversion the run reads them back with.
std::string optionText(const Control& option, std::string_view decimalPoint);

// Form_Load, step by step: select an option button, which raises its Click, or write a number's
// text into a text box.
struct LoadStep {
    std::string select;
    std::string box;
    double value = 0;
};
const std::vector<LoadStep>& formLoad();

// The store after Form_Load, then after a click on each option button named.
ParameterStore loadedStore(std::string_view decimalPoint, const std::vector<std::string>& clicks);

// HScroll1: 0 to speedBarMaximum, by 1. Its Change writes the value, reads it back and writes
// delayCountOf(value): the busy-wait count before each scan step.
inline constexpr int speedBarMaximum = 32767;
constexpr double delayCountOf(double speedBarValue) {
    return speedBarValue * 30 + 1;
}
inline const std::string speedBarName = "Animation speed";
inline const std::string speedBarDescription =
    "Moving right slows the run: at the left end it draws at once, at the right end it takes "
    "about 4 seconds.";

// How long a run's waits last at a speed bar value: "instant", "about 2.0 s".
std::string runLengthText(int speedBarValue, std::string_view decimalPoint);

} // namespace velmora::form
