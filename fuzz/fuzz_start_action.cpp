// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole Start action runs on fuzzed presets. Input: "nFi\nnRozteč\nnSpomaleni[\nlocale[\nλ;a;D
// [\nt]]]", where a locale line starting with 'c' picks Czech, 'a' Arabic, 'f' Persian and
// anything else English, each by its decimal separator; three lengths with units that all read
// make it an Explore run of those values, with the theory curve after a last line "t".
// Every coordinate that reaches the surface or a label must be finite; every refusal must be a
// named run-time error.
#include "drawing_surface.h"
#include "parameter_store.h"
#include "presets.h"
#include "result_labels.h"
#include "run_time_error.h"
#include "start_action.h"
#include "units.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace velmora;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

bool finite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

struct CheckingSurface : DrawingSurface {
    void setScaleMode(ScaleMode) override {}
    void setDrawWidth(int pixels) override {
        if (pixels < 1)
            fail("pen width below one pixel");
    }
    void setFillColor(Colour) override {}
    void setFillStyle(FillStyle) override {}
    using DrawingSurface::Line;
    void Line(float x1, float y1, float x2, float y2, std::optional<Colour>) override {
        if (!finite({x1, y1, x2, y2}))
            fail("non-finite line end");
        ++primitives;
        unshown = true;
    }
    void Circle(float x, float y, float radius) override {
        if (!finite({x, y, radius}) || radius <= 0)
            fail("non-finite circle or radius not positive");
        ++primitives;
        ++circles;
        unshown = true;
    }
    void present() override { unshown = false; }
    long primitives = 0;
    int circles = 0;      // the source, then one dot per scan step
    bool unshown = false; // drawn since the last present
};

// Places labels in whole pixels, as the window does: a position beyond them overflows.
struct CheckingLabels : LabelBoard {
    void showLabel(ResultLabel label, float left, float top) override {
        if (!finite({left, top}))
            fail("non-finite label position");
        ++shown;
        lastShown = label;
        labelPixel(left, 15);
        labelPixel(top, 15);
    }
    ResultLabel lastShown = ResultLabel::labClona;
    int shown = 0;
};

// Printed when libFuzzer exits, so a session reports how many runs went all the way.
struct Tally {
    long wholeRuns = 0, refused[3] = {};
    ~Tally() {
        std::fprintf(stderr,
                     "fuzz_start_action: %ld whole runs, refused: %ld overflow, %ld out "
                     "of memory, %ld type mismatch\n",
                     wholeRuns, refused[0], refused[1], refused[2]);
    }
} tally;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            fields.emplace_back();
        else
            fields.back() += char(data[i]);
    }
    const auto field = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : ""; };
    const char pick = field(3).empty() ? 0 : field(3)[0];
    const char* point = pick == 'c' ? "," : pick == 'a' || pick == 'f' ? "\u066B" : ".";
    // The brake waits real time, up to 4 s a run at the largest count: held low here so the
    // fuzzer spends its time on the presets, not on waiting. fuzz_number_text reads any count.
    std::string speed = field(2);
    try {
        if (delayCountFor(speed, point) > 1000)
            speed = "1000";
    } catch (const RunTimeError&) {
    }
    const ParameterStore store{field(0), field(1), speed};

    ExploreSettings explore;
    std::vector<std::string> lengths(1);
    for (const char c : field(4)) {
        if (c == ';')
            lengths.emplace_back();
        else
            lengths.back() += c;
    }
    double twips[3] = {};
    bool read = lengths.size() == 3;
    for (std::size_t i = 0; read && i < 3; ++i) {
        const LengthReading reading = readLength(lengths[i], quantityRanges[i].quantity, point);
        if (!reading.ok() && reading.error.find(quantityRanges[i].name) == std::string::npos)
            fail("a length refused without naming what it is");
        read = reading.ok();
        twips[i] = reading.twips;
    }
    if (read)
        explore.parameters = exploreParameters({twips[0], twips[1], twips[2]});
    explore.theoryCurve = field(5) == "t";

    CheckingSurface surface;
    CheckingLabels labels;
    const RunResult result = runStartAction(
        store, surface, labels, point, [](Brake brake) { brakeWait(brake.wait()); }, explore);
    if (const auto& e = result.error) {
        const int slot = e->number() == 6 ? 0 : e->number() == 7 ? 1 : e->number() == 13 ? 2 : -1;
        const std::string& message = e->message();
        const std::string& description = e->description();
        const bool named =
            slot >= 0 && !description.empty() && message.size() > description.size() &&
            message.compare(message.size() - description.size(), std::string::npos, description) ==
                0;
        // Only the detector label's position can be beyond a pixel: it follows the distance.
        const bool inLabels =
            labels.shown == 2 && labels.lastShown == ResultLabel::labDetektorB && e->number() == 6;
        if (!named || (labels.shown != 0 && !inLabels))
            fail("refusal without a known number and message, or after the labels");
        ++tally.refused[slot];
        return 0;
    }
    if (surface.circles != 1 + 221 || surface.unshown || labels.shown != 4)
        fail("a whole run draws 221 scan steps, shows all it drew and shows 4 labels");
    ++tally.wholeRuns;
    return 0;
}
