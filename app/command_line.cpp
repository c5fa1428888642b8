// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"

#include "core_text.h"
#include "explore.h"
#include "intensities_csv.h"
#include "native_text.h"
#include "picture_file.h"
#include "result_labels.h"
#include "safe_file.h"
#include "start_action.h"
#include "theory_curve.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;
using velmora::form::Control;

namespace {

constexpr int maxScale = 8; // 6120 × 4480 pixels: a poster, and still a few hundred MB at most

const QString usage = u"Usage: velmora [options]"_s;

// The option buttons of a frame, top to bottom, as their captions read.
std::vector<const Control*> optionsOf(const char* frame) {
    std::vector<const Control*> options;
    for (const Control& c : velmora::form::controls()) {
        if (c.container == frame)
            options.push_back(&c);
    }
    std::ranges::sort(options, {}, [](const Control* c) { return c->twips.top; });
    return options;
}

QString listOf(const char* frame) {
    QStringList captions;
    for (const Control* c : optionsOf(frame))
        captions << velmora::qt::toQString(c->caption);
    return captions.mid(0, captions.size() - 1).join(u", "_s) + u" or "_s + captions.last();
}

// The name of the frame's option button with that caption, or none.
QString find(const char* frame, const QString& caption) {
    for (const Control* c : optionsOf(frame)) {
        if (caption == velmora::qt::toQString(c->caption))
            return velmora::qt::toQString(c->name);
    }
    return {};
}

bool writeIntensities(const QByteArray& path, const velmora::RunResult& run, QString* error) {
    const QByteArray csv = QByteArray::fromStdString(velmora::intensitiesCsv(
        run.report.intensities, velmora::theoryIntensities(run.parameters)));
    if (path == "-") {
        // Standard output may be a full disk, a closed pipe or /dev/full: the flush tells.
        errno = 0;
        if (std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout) ==
                std::size_t(csv.size()) &&
            std::fflush(stdout) == 0)
            return true;
        *error = u"cannot write the intensities to standard output: %1"_s.arg(qt_error_string());
        return false;
    }
    return saveFileSafely(
        path, [&](QIODevice& file) { return file.write(csv) == csv.size(); }, error);
}

// Whether two names are one entry of one folder, however they are spelled. The folders are
// compared as the system finds them; the files may not exist yet.
bool sameEntry(const QByteArray& a, const QByteArray& b) {
    if (a == b)
        return true;
    const auto split = [](const QByteArray& path) {
        const qsizetype slash = path.lastIndexOf('/');
        return std::pair{slash < 0 ? QByteArray(".") : path.left(slash + 1), path.mid(slash + 1)};
    };
    const auto [folderA, nameA] = split(a);
    const auto [folderB, nameB] = split(b);
    struct stat inA {};
    struct stat inB {};
    return !nameA.isEmpty() && nameA == nameB && ::stat(folderA.constData(), &inA) == 0 &&
           ::stat(folderB.constData(), &inB) == 0 && inA.st_dev == inB.st_dev &&
           inA.st_ino == inB.st_ino;
}

// One line on standard error; whatever it echoes cannot act on the terminal.
void report(const QString& message) {
    static QTextStream stream(stderr);
    stream << u"velmora: "_s << shown(message) << Qt::endl;
}

// Explore's options: a length with its unit each, in the quantity's range.
struct LengthOption {
    velmora::Quantity quantity;
    const char* name;
    std::optional<double> CommandLine::*value;
};
constexpr std::array<LengthOption, 3> lengthOptions{{
    {velmora::Quantity::Wavelength, "wavelength", &CommandLine::wavelength},
    {velmora::Quantity::ApertureWidth, "aperture", &CommandLine::aperture},
    {velmora::Quantity::DetectorDistance, "detector-distance", &CommandLine::detectorDistance},
}};

QString lengthHelp(velmora::Quantity quantity) {
    const QString range = velmora::qt::toQString(velmora::rangeText(quantity));
    switch (quantity) {
    case velmora::Quantity::Wavelength:
        return u"The light's wavelength, %1, with its unit nm, um (or µm) or mm, as in 550nm; "
               u"by default the frequency's. Any of these three lengths runs them instead of "
               u"the presets."_s.arg(range);
    case velmora::Quantity::ApertureWidth:
        return u"The aperture's width, %1 (default 8.754um)."_s.arg(range);
    case velmora::Quantity::DetectorDistance:
        return u"The distance from the diaphragm to the detector, %1; by default the "
               u"distance's."_s.arg(range);
    }
    return {};
}

} // namespace

velmora::ExploreSettings CommandLine::exploreSettings(const velmora::ParameterStore& store) const {
    velmora::ExploreSettings settings;
    settings.theoryCurve = theory;
    if (!exploring())
        return settings;
    velmora::ExploreValues values =
        velmora::explore::valuesOf(velmora::runParametersFor(store, velmora::qt::decimalPoint()));
    for (const LengthOption& option : lengthOptions) {
        if (const std::optional<double>& given = this->*option.value)
            velmora::explore::setValue(values, option.quantity, *given);
    }
    settings.parameters = velmora::exploreParameters(values);
    return settings;
}

std::optional<int> parseCommandLine(const QStringList& arguments, CommandLine* commandLine,
                                    QString* message) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Fresnel diffraction at an aperture, built up from Cornu spirals.\nOpens the window; "
        u"with --output or --intensities runs once without one, and needs no display."_s);
    const char* frequencies = "frmFrekvence";
    const char* distances = "frmVzdalenost";
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Show the version and exit."_s);
    const QCommandLineOption frequency(
        u"frequency"_s, u"The light's frequency: %1 (default middle)."_s.arg(listOf(frequencies)),
        u"name"_s);
    const QCommandLineOption distance(
        u"distance"_s,
        u"The distance from the diaphragm to the detector: %1 (default 350)."_s.arg(
            listOf(distances)),
        u"value"_s);
    const QCommandLineOption run(u"run"_s, u"Press Start as soon as the window shows."_s);
    const QCommandLineOption output(
        {u"o"_s, u"output"_s},
        u"Run once without a window and write the window after the run to the file, in the "
        u"format its extension names: %1; PNG without one."_s.arg(pictureFormats()),
        u"file"_s);
    const QCommandLineOption scale(
        u"scale"_s,
        u"Make the picture n times %1 x %2 pixels, n from 1 to %3 (default 1)."_s
            .arg(toPixels(velmora::form::clientWidth, 1))
            .arg(toPixels(velmora::form::clientHeight, 1))
            .arg(maxScale),
        u"n"_s, u"1"_s);
    const QCommandLineOption intensities(
        u"intensities"_s,
        u"Run once without a window and write the 221 intensity bars as CSV to the file, or to "
        u"standard output for -."_s,
        u"file"_s);
    const QCommandLineOption theory(
        u"theory"_s,
        u"Draw the theory curve, the continuous diffraction integral, over the bars."_s);
    std::vector<QCommandLineOption> lengths;
    for (const LengthOption& option : lengthOptions)
        lengths.emplace_back(QString::fromLatin1(option.name), lengthHelp(option.quantity),
                             u"length"_s);
    parser.addOptions({help, version, frequency, distance, run, output, scale, intensities});
    parser.addOptions({lengths.begin(), lengths.end()});
    parser.addOption(theory);

    const auto fail = [&](const QString& error) {
        *message = u"velmora: %1\n%2 (see velmora --help)\n"_s.arg(shown(error), usage);
        return 2;
    };
    if (!parser.parse(arguments)) {
        QString error = parser.errorText();
        if (error.startsWith(u"Unknown option"))
            error += u" The options are -h, -v, --frequency, --distance, --run, -o, --scale, "
                     u"--intensities, --wavelength, --aperture, --detector-distance and "
                     u"--theory."_s;
        else if (error.contains(u"--frequency"))
            error += u" It takes %1."_s.arg(listOf(frequencies));
        else if (error.contains(u"--distance"))
            error += u" It takes %1."_s.arg(listOf(distances));
        return fail(error);
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        message->replace(0, message->indexOf(u'\n'), usage);
        return 0;
    }
    if (parser.isSet(version)) {
        *message = u"velmora " VELMORA_VERSION "\n"_s;
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(u"unexpected argument '%1': velmora takes only options."_s.arg(
            parser.positionalArguments()[0]));

    CommandLine result;
    if (parser.isSet(frequency)) {
        result.frequency = find(frequencies, parser.value(frequency));
        if (result.frequency.isEmpty())
            return fail(u"--frequency takes %1, not '%2'."_s.arg(listOf(frequencies),
                                                                 parser.value(frequency)));
    }
    if (parser.isSet(distance)) {
        result.distance = find(distances, parser.value(distance));
        if (result.distance.isEmpty())
            return fail(
                u"--distance takes %1, not '%2'."_s.arg(listOf(distances), parser.value(distance)));
    }
    bool whole = false;
    result.scale = parser.value(scale).toInt(&whole);
    if (!whole || result.scale < 1 || result.scale > maxScale)
        return fail(u"--scale takes a whole number from 1 to %1, not '%2'."_s.arg(maxScale).arg(
            parser.value(scale)));
    for (const auto& [option, value] :
         {std::pair{&output, &result.output}, std::pair{&intensities, &result.intensities}}) {
        const QString name = parser.value(*option);
        if (parser.isSet(*option) && name.isEmpty())
            return fail(u"--%1 takes a file name, not an empty one."_s.arg(option->names().last()));
        const std::optional<QByteArray> bytes = toNative(name);
        if (!bytes)
            return fail(u"--%1 takes a file name, and '%2' cannot be one."_s.arg(
                option->names().last(), name));
        *value = *bytes;
    }
    for (std::size_t i = 0; i < lengthOptions.size(); ++i) {
        if (!parser.isSet(lengths[i]))
            continue;
        const QString given = parser.value(lengths[i]);
        const velmora::LengthReading reading =
            velmora::readLength(velmora::qt::toUtf8(given), lengthOptions[i].quantity);
        if (!reading.ok())
            return fail(u"--%1 '%2': %3"_s.arg(QString::fromLatin1(lengthOptions[i].name), given,
                                               velmora::qt::toQString(reading.error)));
        result.*lengthOptions[i].value = reading.twips;
    }
    result.theory = parser.isSet(theory);
    if (!result.output.isEmpty() && !pictureFormat(result.output))
        return fail(u"--output writes %1, by the name's extension; '%2' has none of them."_s.arg(
            pictureFormats(), parser.value(output)));
    if (!result.output.isEmpty() && result.intensities != "-" &&
        sameEntry(result.output, result.intensities))
        return fail(
            u"--output and --intensities name the same file, '%1'; give each its own."_s.arg(
                parser.value(intensities)));
    result.run = parser.isSet(run);
    *commandLine = result;
    return std::nullopt;
}

bool claimTemporaryPicture(CommandLine* commandLine) {
    QByteArray folder = qgetenv("TMPDIR");
    if (folder.isEmpty())
        folder = "/tmp";
    const QString named = fromNative(folder);
    const auto fail = [&](const QString& why, const QString& advice) {
        report(u"no display is available, and %1; %2, or name the picture with --output FILE"_s.arg(
            why, advice));
        return false;
    };
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.constData(), nullptr),
                                                           &std::free);
    struct stat found {};
    if (!real && errno == ENOENT)
        return fail(u"the temporary folder %1 (TMPDIR) does not exist"_s.arg(named),
                    u"set TMPDIR to one that does"_s);
    if (!real || ::stat(real.get(), &found) != 0)
        return fail(u"the temporary folder %1 (TMPDIR) cannot be reached: %2"_s.arg(
                        named, qt_error_string(errno)),
                    u"set TMPDIR to one that can"_s);
    if (!S_ISDIR(found.st_mode))
        return fail(
            u"the temporary folder %1 (TMPDIR) is %2"_s.arg(
                named, S_ISREG(found.st_mode) ? u"a file, not a folder"_s : u"not a folder"_s),
            u"set TMPDIR to a folder"_s);
    // A name no one else holds, readable by its owner alone; a link planted in the shared
    // folder makes the name taken, never followed.
    QByteArray path = QByteArray(real.get()) + "/velmora-XXXXXX.png";
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0)
        return fail(u"cannot create a picture file in the temporary folder %1 (TMPDIR): %2"_s.arg(
                        named, qt_error_string(errno)),
                    u"set TMPDIR to a folder you can write to"_s);
    ::close(fd);
    commandLine->output = path;
    commandLine->temporaryOutput = true;
    return true;
}

int runWithoutWindow(const CommandLine& commandLine) {
    // The empty file made for want of a display goes again when nothing is drawn into it.
    const auto failed = [&](const QString& message) {
        if (commandLine.temporaryOutput)
            ::unlink(commandLine.output.constData());
        report(message);
        return 1;
    };
    const std::string point = velmora::qt::decimalPoint();
    std::vector<std::string> clicks;
    Picture picture{{}, FormState::loaded(), 1, velmora::qt::toQString(velmora::form::title),
                    {}, velmora::scanPoints, {}};
    for (const QString& option : {commandLine.frequency, commandLine.distance}) {
        if (!option.isEmpty()) {
            clicks.push_back(velmora::qt::toUtf8(option));
            picture.form.select(option);
        }
    }
    picture.run = velmora::form::loadedStore(point, clicks);
    picture.explore = commandLine.exploreSettings(*picture.run);
    // The numbers of the run; a picture draws it again.
    velmora::NullSurface surface;
    velmora::PlacedLabels labels;
    const velmora::RunResult run =
        velmora::runStartAction(*picture.run, surface, labels, point, {}, picture.explore);
    if (run.error)
        return failed(u"the run stopped: %1"_s.arg(velmora::qt::message(*run.error)));
    for (const velmora::PlacedLabels::Place& place : labels.places)
        picture.form.showLabel(QString::fromUtf8(velmora::labelName(place.label)),
                               QPointF(*place.left, *place.top));
    picture.description = velmora::qt::toQString(velmora::describeRun(run.report));

    QString error;
    if (!commandLine.output.isEmpty() &&
        !writePicture(picture, commandLine.output, commandLine.scale, &error))
        return failed(commandLine.temporaryOutput ? u"no display is available, and "_s + error
                                                  : error);
    if (!commandLine.intensities.isEmpty() &&
        !writeIntensities(commandLine.intensities, run, &error))
        return failed(error);
    if (commandLine.temporaryOutput)
        QTextStream(stdout) << u"No display is available, so Velmora drew its window after one "
                               u"run into %1."_s.arg(shown(fromNative(commandLine.output)))
                            << Qt::endl;
    return 0;
}
