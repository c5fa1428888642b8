// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "result_labels.h"

#include "run_time_error.h"
#include "scene.h"

#include <climits>
#include <cmath>

namespace velmora {

void placeResultLabels(LabelBoard& board, double detectorX) {
    using namespace scene;
    board.showLabel(ResultLabel::labClona, 2300, 1000);
    board.showLabel(ResultLabel::labDetektorB, toSingle(detectorX), 1000);
    board.showLabel(ResultLabel::labPravděpodobnost, 8000, 990);
    board.showLabel(ResultLabel::labZdroj, float(collimatorX - 1650), float(axisY - 100));
}

int labelPixel(double twips, double twipsPerPixel) {
    const double pixels = std::round(twips / twipsPerPixel);
    if (!(pixels >= double(INT_MIN) && pixels <= double(INT_MAX)))
        throw RunTimeError::overflow(); // NaN fails the test too
    return int(pixels);
}

} // namespace velmora
