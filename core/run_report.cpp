// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_report.h"

#include <algorithm>
#include <cmath>
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

// Heights are told as a share of the detector line, from its bottom.
int percentUp(const RunReport& report, int index) {
    return rounded(100.0 * index / std::max<int>(1, int(report.intensities.size()) - 1));
}

std::string region(int percent) {
    if (percent < 34)
        return "near the bottom";
    if (percent <= 66)
        return "in the centre";
    return "near the top";
}

std::string percentOf(double part, double whole) {
    return std::to_string(rounded(100 * part / whole));
}

// Mirror-image maxima differ in their last bits only.
bool equallyStrong(double a, double b) {
    return std::abs(a - b) <= 0.005 * std::max(a, b);
}

} // namespace

std::string describeRun(const RunReport& report) {
    const std::string frequency = report.frequencyCaption.empty()
                                      ? "a frequency that is no preset"
                                      : "frequency " + report.frequencyCaption;
    std::string text =
        "Drawn with " +
        (report.values.empty() ? frequency + " and distance " + report.distanceCaption
                               : report.values) +
        ". ";

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
        const int low = percentUp(report, std::min(top.index, peaks[1].index));
        const int high = percentUp(report, std::max(top.index, peaks[1].index));
        const std::string lowRegion = region(low);
        const std::string highRegion = region(high);
        text += "The strongest are two equal maxima, " +
                (lowRegion == highRegion ? lowRegion + " of the detector"
                                         : lowRegion + " and " + highRegion + " of the detector") +
                ", at " + std::to_string(low) + "% and " + std::to_string(high) +
                "% of its height. ";
    } else {
        const int at = percentUp(report, top.index);
        text += "The strongest lies " + region(at) + " of the detector, at " + std::to_string(at) +
                "% of its height. ";
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

std::string describeNoPicture() {
    return "No picture has been drawn yet. Press Start to run the simulation.";
}

} // namespace velmora
