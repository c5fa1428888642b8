// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window after a run as an SVG drawing, the same bytes from the desktop and the page: the
// run drawn again as vectors, the shown controls over it drawn from the form table with their
// captions as text, the window's title, and the picture's description as the drawing's own.
#pragma once

#include "parameter_store.h"
#include "spiral_scan.h"
#include "start_action.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct PictureLabel {
    std::string name;         // "labClona"
    double left = 0, top = 0; // twips, where the run placed it
};

// What the picture shows at one moment.
struct PictureContent {
    std::optional<ParameterStore> run; // the presets of the run drawn; none before the first
    int steps = scanPoints;            // the scan steps it drew: fewer when it was stopped
    ExploreSettings explore;           // Explore's values for the run, if it had them
    std::vector<std::string> selected; // the option buttons selected
    std::vector<PictureLabel> labels;  // the result labels shown
    int speed = 0;                     // the speed bar's value
    std::string title, description;
};

// `scale` times 765 × 560 pixels. The run is drawn again with the presets' decimal point, as it
// draws the same every time; a run that stopped stops again where it did.
std::string svgPicture(const PictureContent& content, double scale, std::string_view decimalPoint);
// The controls alone, over nothing: to lay over the run's drawing made on a canvas.
std::string svgControls(const PictureContent& content, double scale);

} // namespace velmora
