// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_report.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

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
    const double strongest = *std::ranges::max_element(bars);
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
    std::ranges::stable_sort(peaks, std::ranges::greater{}, &PatternPeak::intensity);
    return peaks;
}

namespace {

// Heights are told as a share of the detector line, from its bottom.
int percentUp(const RunReport& report, int index) {
    return qRound(100.0 * index / std::max<int>(1, int(report.intensities.size()) - 1));
}

QString region(int percent) {
    if (percent < 34)
        return u"near the bottom"_s;
    if (percent <= 66)
        return u"in the centre"_s;
    return u"near the top"_s;
}

int percentOf(double part, double whole) {
    return qRound(100 * part / whole);
}

// Mirror-image maxima differ in their last bits only.
bool equallyStrong(double a, double b) {
    return std::abs(a - b) <= 0.005 * std::max(a, b);
}

} // namespace

QString describeRun(const RunReport& report) {
    const QString frequency = report.frequencyCaption.isEmpty()
                                  ? u"a frequency that is no preset"_s
                                  : u"frequency %1"_s.arg(report.frequencyCaption);
    QString text = u"Drawn with %1 and distance %2. "_s.arg(frequency, report.distanceCaption);

    const std::vector<PatternPeak> peaks = patternMaxima(report.intensities);
    if (peaks.empty())
        return text + u"Every intensity bar has length 0: no pattern was drawn."_s;
    const PatternPeak& top = peaks.front();
    const int count = int(peaks.size());
    text += count == 1 ? u"The intensity pattern along the detector has 1 maximum. "_s
                       : u"The intensity pattern along the detector has %1 maxima. "_s.arg(count);

    const bool pair = count > 1 && equallyStrong(peaks[1].intensity, top.intensity);
    if (pair) {
        const int low = percentUp(report, std::min(top.index, peaks[1].index));
        const int high = percentUp(report, std::max(top.index, peaks[1].index));
        const QString lowRegion = region(low);
        const QString highRegion = region(high);
        text += u"The strongest are two equal maxima, %1, at %2% and %3% of its height. "_s.arg(
            lowRegion == highRegion ? lowRegion + u" of the detector"_s
                                    : lowRegion + u" and "_s + highRegion + u" of the detector"_s,
            QString::number(low), QString::number(high));
    } else {
        const int at = percentUp(report, top.index);
        text += u"The strongest lies %1 of the detector, at %2% of its height. "_s.arg(
            region(at), QString::number(at));
    }

    const std::size_t others = pair ? 2 : 1;
    if (peaks.size() <= others) {
        const double weakest = *std::ranges::min_element(report.intensities);
        text += (pair ? u"There are no others; between and beside them the bars fall to %1% of "
                        u"their length."_s
                      : u"It is the only one; away from it the bars fall to %1% of its length."_s)
                    .arg(percentOf(weakest, top.intensity));
        return text;
    }
    const int next = percentOf(peaks[others].intensity, top.intensity);
    const int last = percentOf(peaks.back().intensity, top.intensity);
    const QString them = pair ? u"them"_s : u"it"_s;
    if (next == last)
        text += u"The others reach %1% of %2."_s.arg(QString::number(next), them);
    else
        text += u"The next strongest reaches %1% of %2, the weakest %3%."_s.arg(
            QString::number(next), them, QString::number(last));
    return text;
}

QString describeNoPicture() {
    return u"No picture has been drawn yet. Press Start to run the simulation."_s;
}

} // namespace velmora
