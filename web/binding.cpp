// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core as the page sees it: one class for a run the page drives from animation frames,
// and the few conversions its handlers need. A run-time error never crosses into JavaScript
// as an exception; it becomes a NaN wait and a message the page shows.

#include "command_recorder.h"

#include "drawing_surface.h"
#include "number_text.h"
#include "parameter_store.h"
#include "result_labels.h"
#include "run_report.h"
#include "run_time_error.h"
#include "start_action.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <chrono>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace velmora::web {
namespace {

using emscripten::val;

constexpr double twipsPerPixel = 15;
constexpr double failed = std::numeric_limits<double>::quiet_NaN();

const char* labelName(ResultLabel label) {
    static constexpr std::array names{"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"};
    return names.at(std::size_t(label));
}

// Keeps each label write in CSS pixels, so those made before a failed one still take effect.
class LabelWrites final : public LabelBoard {
public:
    struct Write {
        ResultLabel label;
        std::optional<int> left, top;
    };
    std::vector<Write> writes;

    void showLabel(ResultLabel label, float left, float top) override {
        Write& w = writes.emplace_back(Write{label, {}, {}});
        w.left = labelPixel(left, twipsPerPixel);
        w.top = labelPixel(top, twipsPerPixel);
    }
};

double milliseconds(Brake brake) {
    return std::chrono::duration<double, std::milli>(brake.wait()).count();
}

class Run {
public:
    Run(std::string fi, std::string rozteč, std::string spomaleni, std::string decimalPoint)
        : m_presets(std::move(fi), std::move(rozteč), std::move(spomaleni)),
          m_action(m_presets, m_recorder, m_labels, std::move(decimalPoint)) {}

    // Each returns the wait due before the next step, in milliseconds; NaN after an error.
    double begin() {
        return guarded([this] { return milliseconds(m_action.begin()); });
    }
    double step() {
        return guarded([this] { return milliseconds(m_action.step()); });
    }
    bool scanning() const { return m_action.scanning(); }

    // { summary, labels: [{ name, left, top }] }, or { error, labels } when a write failed.
    val finish() {
        val result = val::object();
        guarded([&] {
            result.set("summary", describeRun(m_action.finish()));
            return 0.0;
        });
        val labels = val::array();
        for (const LabelWrites::Write& w : m_labels.writes) {
            val label = val::object();
            label.set("name", std::string(labelName(w.label)));
            if (w.left)
                label.set("left", *w.left);
            if (w.top)
                label.set("top", *w.top);
            labels.call<void>("push", label);
        }
        result.set("labels", labels);
        if (!m_error.empty())
            result.set("error", m_error);
        return result;
    }

    // The words drawn since the last clear; a view into this run's memory, copied at once.
    val commands() const {
        const std::vector<std::uint32_t>& words = m_recorder.words();
        return val(emscripten::typed_memory_view(words.size(), words.data()));
    }
    void clearCommands() { m_recorder.clear(); }
    std::string error() const { return m_error; }

private:
    template <class F> double guarded(F f) {
        try {
            return f();
        } catch (const RunTimeError& e) {
            m_error = e.message();
            return failed;
        }
    }

    PresetTexts m_presets;
    CommandRecorder m_recorder;
    LabelWrites m_labels;
    StartAction m_action;
    std::string m_error;
};

std::string toText(double value, std::string decimalPoint) {
    return numberToText(value, decimalPoint);
}

double fromText(std::string text, std::string decimalPoint) {
    try {
        return textToNumber(text, decimalPoint);
    } catch (const RunTimeError&) {
        return failed;
    }
}

std::uint32_t shownRgb(std::uint32_t colour) {
    return displayRgb(colour);
}

std::string noPicture() {
    return describeNoPicture();
}

} // namespace
} // namespace velmora::web

EMSCRIPTEN_BINDINGS(velmora) {
    using namespace velmora::web;
    emscripten::class_<Run>("Run")
        .constructor<std::string, std::string, std::string, std::string>()
        .function("begin", &Run::begin)
        .function("step", &Run::step)
        .function("scanning", &Run::scanning)
        .function("finish", &Run::finish)
        .function("commands", &Run::commands)
        .function("clearCommands", &Run::clearCommands)
        .function("error", &Run::error);
    emscripten::function("numberToText", &toText);
    emscripten::function("textToNumber", &fromText);
    emscripten::function("displayRgb", &shownRgb);
    emscripten::function("describeNoPicture", &noPicture);
}
