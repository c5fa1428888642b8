// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The four labels that name the picture once a run has drawn it.
#pragma once

namespace velmora {

enum class ResultLabel { labClona, labDetektorB, labPravděpodobnost, labZdroj };

class LabelBoard {
public:
    virtual ~LabelBoard() = default;
    // Visible, then Left, then Top; positions in twips of the window's client area. A position
    // the label cannot take is a failed property write: throw RunTimeError "Overflow".
    virtual void showLabel(ResultLabel label, float left, float top) = 0;
};

void placeResultLabels(LabelBoard& board, double detectorX);

// A label position in whole pixels, rounded half away from zero. Throws RunTimeError
// "Overflow" when it lies beyond the range of a pixel coordinate (int), as a label's
// position can lie after an absurd distance preset.
int labelPixel(double twips, double twipsPerPixel);

} // namespace velmora
