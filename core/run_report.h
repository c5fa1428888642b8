// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a finished run drew, for listeners: the presets it used and its intensity bars, and
// the English sentences that tell them.
#pragma once

#include <string>
#include <vector>

namespace velmora {

struct RunReport {
    std::string frequencyCaption; // "middle"; empty when the frequency text was no preset
    std::string distanceCaption;  // "350"; the distance text as read
    double detectorX = 0;         // twips
    // Bar lengths in twips, one per detector point from the bottom (y 7000) to the top
    // (y 1500), 25 twips apart.
    std::vector<double> intensities;
    std::string values{}; // an Explore run's values in words; empty for a preset run
};

struct PatternPeak {
    int index; // into RunReport::intensities
    double intensity;
};

// The maxima a listener would notice: local maxima that stand out from their surroundings by
// at least a twentieth of the strongest bar, and the strongest itself; strongest first.
// Ripples below that are not counted; a pattern of zero bars has none.
std::vector<PatternPeak> patternMaxima(const std::vector<double>& intensities);

// The picture's description after a run, in UTF-8.
std::string describeRun(const RunReport& report);

// The picture's description after the user stopped a run, from what it drew up to then.
std::string describeStoppedRun(const RunReport& report);

// The picture's description before the first run.
std::string describeNoPicture();

} // namespace velmora
