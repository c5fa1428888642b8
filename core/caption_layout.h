// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Captions laid out without a toolkit, for drawings every front end writes alike: the widths of
// the bold faces the form's labels and frames use (Arial and Times New Roman, whose widths the
// Liberation faces share), and a label's lines as its box wraps them.
#pragma once

#include "form.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// In CSS pixels (96 to the inch) at 100 %; the font's points as such pixels.
double fontPixels(const form::Font& font);
double textWidth(std::string_view utf8, const form::Font& font);
// From a line's top to its baseline, and from one baseline to the next.
double ascent(const form::Font& font);
double lineSpacing(const form::Font& font);

// The caption's lines in a box `width` pixels wide, broken at spaces as a label wraps them: a
// line takes words while they fit, and a word wider than the box stands alone.
std::vector<std::string> wrapCaption(std::string_view caption, const form::Font& font,
                                     double width);

} // namespace velmora
