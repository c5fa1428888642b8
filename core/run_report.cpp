// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_report.h"

#include "scene.h"
#include "spiral_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace velmora {

namespace {

// The lowest bar on one side of a maximum before higher ground, and whether any came.
struct Side {
    double low;
    bool bounded;
};

Side side(const std::vector<double>& bars, int from, int step, double peak) {
    Side s{peak, false};
    for (int j = from; j >= 0 && j < int(bars.size()); j += step) {
        if (bars[j] > peak)
            return {s.low, true};
        s.low = std::min(s.low, bars[j]);
    }
    return s;
}

} // namespace

std::vector<PatternPeak> patternMaxima(const std::vector<double>& bars) {
    std::vector<PatternPeak> peaks;
    if (bars.empty())
        return peaks;
    const double strongest = *std::max_element(bars.begin(), bars.end());
    if (!(strongest > 0))
        return peaks;
    const int n = int(bars.size());
    for (int i = 0; i < n; ++i) {
        int end = i; // a plateau counts once, at its middle
        while (end + 1 < n && bars[end + 1] == bars[i])
            ++end;
        const bool rises = i == 0 || bars[i - 1] < bars[i];
        const bool falls = end == n - 1 || bars[end + 1] < bars[i];
        if (rises && falls) {
            // Prominence. A side that runs to the detector's end without higher ground sets
            // no limit: the pattern may go on beyond it.
            const Side left = side(bars, i - 1, -1, bars[i]);
            const Side right = side(bars, end + 1, 1, bars[i]);
            const double base = left.bounded && right.bounded ? std::max(left.low, right.low)
                                : left.bounded                ? left.low
                                : right.bounded               ? right.low
                                                              : std::min(left.low, right.low);
            if (bars[i] == strongest || bars[i] - base >= strongest / 20)
                peaks.push_back({(i + end) / 2, bars[i]});
        }
        i = end;
    }
    std::stable_sort(peaks.begin(), peaks.end(), [](const PatternPeak& a, const PatternPeak& b) {
        return a.intensity > b.intensity;
    });
    return peaks;
}

namespace {

// Whole percentages, halves rounded up, as listeners are told them.
int rounded(double value) {
    return int(std::floor(value + 0.5));
}

// Where a point lies as seen in the picture: above or below the optical axis, by a share of the
// detector line's height. Index 0 is the detector's bottom end.
struct Offset {
    int percent; // 0: on the axis
    bool above;
};

Offset fromAxis(int index) {
    constexpr int axis = int(scene::sceneBottom - scene::axisY - firstScanY) / scanStep;
    return {rounded(100.0 * std::abs(index - axis) / (scanPoints - 1)), index > axis};
}

std::string where(Offset o) {
    if (o.percent == 0)
        return "on the optical axis";
    return std::to_string(o.percent) + "% of the detector's height " +
           (o.above ? "above" : "below") + " the optical axis";
}

std::string percentOf(double part, double whole) {
    return std::to_string(rounded(100 * part / whole));
}

// The presets, or Explore's values when the run had them.
std::string presetsOf(const RunReport& report) {
    if (!report.values.empty())
        return report.values;
    const std::string frequency = report.frequencyCaption.empty()
                                      ? "a frequency that is no preset"
                                      : "frequency " + report.frequencyCaption;
    return frequency + " and distance " + report.distanceCaption;
}

// Mirror-image maxima differ in their last bits only.
bool equallyStrong(double a, double b) {
    return std::abs(a - b) <= 0.005 * std::max(a, b);
}

} // namespace

std::string describeRun(const RunReport& report) {
    std::string text = "Drawn with " + presetsOf(report) + ". ";

    const std::vector<PatternPeak> peaks = patternMaxima(report.intensities);
    if (peaks.empty())
        return text + "Every intensity bar has length 0: no pattern was drawn.";
    const PatternPeak& top = peaks.front();
    const int count = int(peaks.size());
    text += count == 1 ? "The intensity pattern along the detector has 1 maximum. "
                       : "The intensity pattern along the detector has " + std::to_string(count) +
                             " maxima. ";

    const bool pair = count > 1 && equallyStrong(peaks[1].intensity, top.intensity);
    if (pair) {
        // The upper one first, as the picture is read.
        const Offset a = fromAxis(std::max(top.index, peaks[1].index));
        const Offset b = fromAxis(std::min(top.index, peaks[1].index));
        text += "The strongest are two equal maxima, ";
        if (a.percent == b.percent && a.above != b.above)
            text += "symmetric about the optical axis, " + std::to_string(a.percent) +
                    "% of the detector's height above and below it. ";
        else
            text += where(a) + " and " + where(b) + ". ";
    } else {
        text += "The strongest lies " + where(fromAxis(top.index)) + ". ";
    }

    const std::size_t others = pair ? 2 : 1;
    if (peaks.size() <= others) {
        const double weakest =
            *std::min_element(report.intensities.begin(), report.intensities.end());
        const std::string share = percentOf(weakest, top.intensity);
        text += pair ? "There are no others; between and beside them the bars fall to " + share +
                           "% of their length."
                     : "It is the only one; away from it the bars fall to " + share +
                           "% of its length.";
        return text;
    }
    const std::string next = percentOf(peaks[others].intensity, top.intensity);
    const std::string last = percentOf(peaks.back().intensity, top.intensity);
    const std::string them = pair ? "them" : "it";
    if (next == last)
        text += "The others reach " + next + "% of " + them + ".";
    else
        text +=
            "The next strongest reaches " + next + "% of " + them + ", the weakest " + last + "%.";
    return text;
}

std::string describeStoppedRun(const RunReport& report) {
    const int drawn = int(report.intensities.size());
    if (drawn == 0)
        return "The run with " + presetsOf(report) +
               " was stopped before its first detector point: only the scene is drawn.";
    return "The run with " + presetsOf(report) + " was stopped after " + std::to_string(drawn) +
           " of the " + std::to_string(scanPoints) +
           " detector points: the intensity pattern reaches " +
           std::to_string(rounded(100.0 * (drawn - 1) / (scanPoints - 1))) +
           "% of the detector's height, and the picture is incomplete.";
}

std::string describeNoPicture() {
    return "No picture has been drawn yet. Press Start to run the simulation.";
}

} // namespace velmora
