// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "result_labels.h"

#include "form.h"
#include "run_time_error.h"
#include "scene.h"

#include <array>
#include <climits>
#include <cmath>

namespace velmora {

const char* labelName(ResultLabel label) {
    static constexpr std::array names{"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"};
    return names.at(std::size_t(label));
}

void placeResultLabels(LabelBoard& board, double detectorX) {
    using namespace scene;
    board.showLabel(ResultLabel::labClona, 2300, 1000);
    board.showLabel(ResultLabel::labDetektorB, toSingle(detectorX), 1000);
    board.showLabel(ResultLabel::labPravděpodobnost, 8000, 990);
    board.showLabel(ResultLabel::labZdroj, float(collimatorX - 1650), float(axisY - 100));
}

void PlacedLabels::showLabel(ResultLabel label, float left, float top) {
    Place& place = places.emplace_back(Place{label, {}, {}});
    labelPixel(left, form::twipsPerPixel);
    place.left = left;
    labelPixel(top, form::twipsPerPixel);
    place.top = top;
}

int labelPixel(double twips, double twipsPerPixel) {
    const double pixels = std::round(twips / twipsPerPixel);
    if (!(pixels >= double(INT_MIN) && pixels <= double(INT_MAX)))
        throw RunTimeError::overflow(); // NaN fails the test too
    return int(pixels);
}

} // namespace velmora
