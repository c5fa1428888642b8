// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core as the page sees it: the form to build its controls from, one class for a run the
// page drives from animation frames, and the few conversions its handlers need. A run-time
// error never crosses into JavaScript as an exception; it becomes a NaN wait and a message the
// page shows.

#include "command_recorder.h"

#include "drawing_surface.h"
#include "explore.h"
#include "form.h"
#include "input_during_run.h"
#include "intensities_csv.h"
#include "number_text.h"
#include "result_labels.h"
#include "run_report.h"
#include "start_action.h"
#include "svg_picture.h"
#include "theory_curve.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <string>

namespace velmora::web {
namespace {

using emscripten::val;

class Run {
public:
    // A value_object would name the distance's field in Latin-1, so the texts come one by one.
    Run(std::string fi, std::string rozteč, std::string spomaleni, std::string decimalPoint)
        : Run(std::move(fi), std::move(rozteč), std::move(spomaleni), std::move(decimalPoint), {}) {
    }
    // A run of Explore's values, in twips, with or without the theory curve.
    Run(std::string fi, std::string rozteč, std::string spomaleni, std::string decimalPoint,
        double wavelength, double aperture, double distance, bool theory)
        : Run(std::move(fi), std::move(rozteč), std::move(spomaleni), std::move(decimalPoint),
              {exploreParameters({wavelength, aperture, distance}), theory}) {}

    // Each returns the wait due before the next step, in milliseconds; NaN after an error.
    double begin() { return waitOf(m_action.begin()); }
    double step() { return waitOf(m_action.step()); }
    bool scanning() const { return m_action.scanning(); }
    void stop() { m_action.stop(); }

    // { summary, stopped, steps, labels: [{ name, left, top, twips }] }, or { error, ... }:
    // the labels in CSS pixels, and where they stand in twips for a picture file, those placed
    // before a failed write too.
    val finish() {
        const RunResult result = m_action.finish();
        val out = val::object();
        if (result.error)
            out.set("error", result.error->message());
        else
            out.set("summary", result.stopped ? describeStoppedRun(result.report)
                                              : describeRun(result.report));
        out.set("stopped", result.stopped);
        out.set("steps", int(result.report.intensities.size()));
        out.set("frequency", result.report.frequencyCaption);
        out.set("distance", result.report.distanceCaption);
        val labels = val::array();
        for (const PlacedLabels::Place& place : m_labels.places) {
            val label = val::object();
            label.set("name", std::string(labelName(place.label)));
            if (place.left)
                label.set("left", labelPixel(*place.left, form::twipsPerPixel));
            if (place.top)
                label.set("top", labelPixel(*place.top, form::twipsPerPixel));
            if (place.left && place.top)
                label.set("twips", val::array(std::vector<float>{*place.left, *place.top}));
            labels.call<void>("push", label);
        }
        out.set("labels", labels);
        return out;
    }

    // The words drawn since the last clear; a view into this run's memory, copied at once.
    val commands() const {
        const std::vector<std::uint32_t>& words = m_recorder.words();
        return val(emscripten::typed_memory_view(words.size(), words.data()));
    }
    void clearCommands() { m_recorder.clear(); }

private:
    Run(std::string fi, std::string rozteč, std::string spomaleni, std::string decimalPoint,
        ExploreSettings explore)
        : m_store{std::move(fi), std::move(rozteč), std::move(spomaleni)},
          m_action(m_store, m_recorder, m_labels, std::move(decimalPoint), std::move(explore)) {}

    double waitOf(Brake brake) const {
        if (m_action.error())
            return std::numeric_limits<double>::quiet_NaN();
        return std::chrono::duration<double, std::milli>(brake.wait()).count();
    }

    ParameterStore m_store;
    CommandRecorder m_recorder;
    PlacedLabels m_labels;
    StartAction m_action;
};

// The window's table and its constants, for the page to build its controls from.
val formTable() {
    val table = val::object();
    table.set("title", form::title);
    table.set("twipsPerPixel", form::twipsPerPixel);
    table.set("width", form::clientWidth);
    table.set("height", form::clientHeight);
    table.set("windowFont", form::windowFont);
    table.set("controls", val::array(form::controls()));
    table.set("load", val::array(form::formLoad()));
    table.set("speedBarMaximum", form::speedBarMaximum);
    table.set("speedBarName", form::speedBarName);
    table.set("speedBarDescription", form::speedBarDescription);
    return table;
}

// Embind passes texts as std::string, not string_view.
std::string toText(double value, std::string decimalPoint) {
    return numberToText(value, decimalPoint);
}

std::string presetText(form::Control option, std::string decimalPoint) {
    return form::optionText(option, decimalPoint);
}

std::string runLength(int speedBarValue, std::string decimalPoint) {
    return form::runLengthText(speedBarValue, decimalPoint);
}

double fromText(std::string text, std::string decimalPoint) {
    try {
        return textToNumber(text, decimalPoint);
    } catch (const RunTimeError&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

// { fi, distance, steps, explore: { values: [twips × 3], theory }, selected: [names],
// labels: [{ name, twips: [left, top] }], speed, title, description }; no fi: no run drawn yet;
// no steps: the whole scan; no explore: the presets' run.
PictureContent pictureContent(const val& picture) {
    PictureContent content;
    const auto given = [&](const char* field) {
        return !picture[field].isUndefined() && !picture[field].isNull();
    };
    if (given("fi"))
        content.run = ParameterStore{picture["fi"].as<std::string>(),
                                     picture["distance"].as<std::string>(), "0"};
    if (given("steps"))
        content.steps = picture["steps"].as<int>();
    if (given("explore")) {
        const val values = picture["explore"]["values"];
        content.explore = {exploreParameters({values[0].as<double>(), values[1].as<double>(),
                                              values[2].as<double>()}),
                           picture["explore"]["theory"].as<bool>()};
    }
    for (const std::string& name : emscripten::vecFromJSArray<std::string>(picture["selected"]))
        content.selected.push_back(name);
    const val labels = picture["labels"];
    for (int i = 0, n = labels["length"].as<int>(); i < n; ++i) {
        const val twips = labels[i]["twips"];
        content.labels.push_back(
            {labels[i]["name"].as<std::string>(), twips[0].as<double>(), twips[1].as<double>()});
    }
    content.speed = picture["speed"].as<int>();
    content.title = picture["title"].as<std::string>();
    content.description = picture["description"].as<std::string>();
    return content;
}

std::string svgOfPicture(val picture, double scale, std::string decimalPoint) {
    return svgPicture(pictureContent(picture), scale, decimalPoint);
}

// The run drawn again, off screen, for its bars: the CSV the command line writes for it.
std::string csvOfPicture(val picture, std::string decimalPoint) {
    const PictureContent content = pictureContent(picture);
    if (!content.run)
        return {};
    NullSurface surface;
    NoLabels labels;
    const RunResult run = runStartAction(*content.run, surface, labels, decimalPoint, {},
                                         content.explore, content.steps);
    return intensitiesCsv(run.report.intensities, theoryIntensities(run.parameters));
}

std::string svgOfControls(val picture, double scale) {
    return svgControls(pictureContent(picture), scale);
}

// Explore's panel; its fields are named by their place in explore::fields.
Quantity quantityAt(int field) {
    return explore::fields[std::size_t(std::clamp(field, 0, int(explore::fields.size()) - 1))]
        .quantity;
}

val exploreTable(std::string decimalPoint) {
    val table = val::object();
    table.set("title", explore::title);
    table.set("theoryCaption", explore::theoryCaption);
    table.set("note", explore::note);
    table.set("sliderSteps", explore::sliderSteps);
    val fields = val::array();
    for (const explore::Field& f : explore::fields) {
        val field = val::object();
        field.set("caption", std::string(f.caption));
        field.set("range", rangeText(f.quantity, decimalPoint));
        fields.call<void>("push", field);
    }
    table.set("fields", fields);
    return table;
}

int exploreSliderPosition(int field, double twips) {
    return explore::sliderPosition(quantityAt(field), twips);
}

double exploreSliderValue(int field, int position) {
    return explore::sliderValue(quantityAt(field), position);
}

std::string exploreValueText(int field, double twips, std::string decimalPoint) {
    return explore::valueText(quantityAt(field), twips, decimalPoint);
}

// { twips } as the panel shows it, or { error }
val exploreRead(std::string text, int field, std::string decimalPoint) {
    const Quantity quantity = quantityAt(field);
    const LengthReading reading = readLength(text, quantity, decimalPoint);
    val out = val::object();
    if (reading.ok())
        out.set("twips", explore::shownValue(quantity, reading.twips));
    else
        out.set("error", reading.error);
    return out;
}

// [wavelength, aperture, distance] of a run of the presets' texts, where the panel starts.
val explorePresetValues(std::string fi, std::string rozteč, std::string decimalPoint) {
    RunParameters p = presetParameters(frequencyPresets[2], distancePresets[1]);
    try {
        p = runParametersFor({fi, rozteč, "0"}, decimalPoint);
    } catch (const RunTimeError&) {
    }
    const ExploreValues values = explore::valuesOf(p);
    val out = val::array();
    for (const explore::Field& f : explore::fields)
        out.call<void>("push", explore::valueOf(values, f.quantity));
    return out;
}

std::string exploreDerived(double wavelength, double aperture, double distance,
                           std::string decimalPoint) {
    return explore::derivedText(exploreParameters({wavelength, aperture, distance}), decimalPoint);
}

} // namespace
} // namespace velmora::web

EMSCRIPTEN_BINDINGS(velmora) {
    using namespace emscripten;
    using namespace velmora;
    using namespace velmora::form;
    class_<web::Run>("Run")
        .constructor<std::string, std::string, std::string, std::string>()
        .constructor<std::string, std::string, std::string, std::string, double, double, double,
                     bool>()
        .function("begin", &web::Run::begin)
        .function("step", &web::Run::step)
        .function("scanning", &web::Run::scanning)
        .function("stop", &web::Run::stop)
        .function("finish", &web::Run::finish)
        .function("commands", &web::Run::commands)
        .function("clearCommands", &web::Run::clearCommands);

    class_<InputDuringRun>("InputDuringRun")
        .constructor<>()
        .function("runBegins", &InputDuringRun::runBegins)
        .function("take", &InputDuringRun::take)
        .function("runEnds", optional_override(
                                 [](InputDuringRun& rule) { return val::array(rule.runEnds()); }));
    enum_<InputDuringRun::Input>("Input")
        .value("Start", InputDuringRun::Input::Start)
        .value("Exit", InputDuringRun::Input::Exit)
        .value("Escape", InputDuringRun::Input::Escape)
        .value("Other", InputDuringRun::Input::Other);
    enum_<InputDuringRun::Verdict>("Verdict")
        .value("Act", InputDuringRun::Verdict::Act)
        .value("Hold", InputDuringRun::Verdict::Hold)
        .value("Drop", InputDuringRun::Verdict::Drop)
        .value("Stop", InputDuringRun::Verdict::Stop);

    enum_<Kind>("Kind")
        .value("Label", Kind::Label)
        .value("Frame", Kind::Frame)
        .value("Option", Kind::Option)
        .value("Button", Kind::Button)
        .value("TextBox", Kind::TextBox)
        .value("ScrollBar", Kind::ScrollBar);
    value_object<Font>("Font")
        .field("face", &Font::face)
        .field("points", &Font::points)
        .field("bold", &Font::bold);
    value_array<Twips>("Twips")
        .element(&Twips::left)
        .element(&Twips::top)
        .element(&Twips::width)
        .element(&Twips::height);
    value_object<Control>("Control")
        .field("name", &Control::name)
        .field("kind", &Control::kind)
        .field("container", &Control::container)
        .field("caption", &Control::caption)
        .field("twips", &Control::twips)
        .field("font", &Control::font)
        .field("shown", &Control::shown)
        .field("tabIndex", &Control::tabIndex)
        .field("centred", &Control::centred)
        .field("writes", &Control::writes)
        .field("preset", &Control::preset);
    value_object<LoadStep>("LoadStep")
        .field("select", &LoadStep::select)
        .field("box", &LoadStep::box)
        .field("value", &LoadStep::value);
    function("form", &web::formTable);
    function("optionText", &web::presetText);
    function("delayCountOf", &delayCountOf);
    function("runLengthText", &web::runLength);

    function("numberToText", &web::toText);
    function("textToNumber", &web::fromText);
    function("displayRgb", &displayRgb);
    function("describeNoPicture", &describeNoPicture);
    function("svgPicture", &web::svgOfPicture);
    function("svgControls", &web::svgOfControls);
    function("intensitiesCsv", &web::csvOfPicture);

    function("exploreTable", &web::exploreTable);
    function("exploreSliderPosition", &web::exploreSliderPosition);
    function("exploreSliderValue", &web::exploreSliderValue);
    function("exploreValueText", &web::exploreValueText);
    function("exploreRead", &web::exploreRead);
    function("explorePresetValues", &web::explorePresetValues);
    function("exploreDerived", &web::exploreDerived);
}
