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
    // Visible, then Left, then Top; positions in twips of the window's client area.
    virtual void showLabel(ResultLabel label, float left, float top) = 0;
};

void placeResultLabels(LabelBoard& board, double detectorX);

} // namespace velmora
