// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The four labels that name the picture once a run has drawn it.
#pragma once

#include <optional>
#include <vector>

namespace velmora {

enum class ResultLabel { labClona, labDetektorB, labPravděpodobnost, labZdroj };

// The label's control name, "labClona".
const char* labelName(ResultLabel label);

class LabelBoard {
public:
    virtual ~LabelBoard() = default;
    // Visible, then Left, then Top; positions in twips of the window's client area. A position
    // the label cannot take is a failed property write: throw RunTimeError "Overflow".
    virtual void showLabel(ResultLabel label, float left, float top) = 0;
};

void placeResultLabels(LabelBoard& board, double detectorX);

// Shows nothing: for a run drawn again.
struct NoLabels : LabelBoard {
    void showLabel(ResultLabel, float, float) override {}
};

// Keeps each label's place in twips, as a window would write it at 100 %: shown, then Left,
// then Top. A position beyond a pixel is a failed write that keeps what came before it.
class PlacedLabels : public LabelBoard {
public:
    struct Place {
        ResultLabel label;
        std::optional<float> left, top; // none: not written
    };
    std::vector<Place> places;
    void showLabel(ResultLabel label, float left, float top) override;
};

// A label position in whole pixels, rounded half away from zero. Throws RunTimeError
// "Overflow" when it lies beyond the range of a pixel coordinate (int), as a label's
// position can lie after an absurd distance preset.
int labelPixel(double twips, double twipsPerPixel);

} // namespace velmora
