// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: presets chosen as the option buttons would choose them, and runs without
// a window that write the picture or the intensities to files.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {
struct ExploreSettings;
struct ParameterStore;
} // namespace velmora

struct CommandLine {
    QString frequency, distance;  // the option buttons to select, by name; empty for none
    bool run = false;             // press Start once the window shows
    QByteArray output;            // picture file, its name as the system's bytes; empty for none
    QByteArray intensities;       // CSV file, "-" for standard output; empty for none
    int scale = 1;                // picture size as a multiple of the window's
    bool temporaryOutput = false; // output was made in the temporary folder, for want of a display
    // Explore's values, in twips: any of them makes the run Explore's, with the presets'
    // values for the others.
    std::optional<double> wavelength, aperture, detectorDistance;
    bool theory = false; // the theory curve over the bars

    bool withoutWindow() const { return !output.isEmpty() || !intensities.isEmpty(); }
    bool exploring() const { return wavelength || aperture || detectorDistance; }
    // What the run does beyond the presets, whose texts are `store`.
    velmora::ExploreSettings exploreSettings(const velmora::ParameterStore& store) const;
};

// ARGUMENTS start with the program's name, each as fromNative() reads it, so that file names
// keep their bytes. When they ask only for help or the version, or are wrong, returns the exit
// status and in *message what to print: on standard output for status 0, otherwise on standard
// error, anything echoed escaped.
std::optional<int> parseCommandLine(const QStringList& arguments, CommandLine* commandLine,
                                    QString* message);

// Without a display and without files asked for, the picture goes to a new file in the
// temporary folder: makes it, empty, and names it in commandLine->output. Done before Qt
// starts, which would first warn about a folder of its own in a TMPDIR that cannot hold one.
// On failure says why on standard error and returns false.
bool claimTemporaryPicture(CommandLine* commandLine);

// One run without a window, then the files asked for; a picture in the temporary folder has
// its path printed. Returns the exit status. The intensities need no more than a
// QCoreApplication, a picture a QGuiApplication.
int runWithoutWindow(const CommandLine& commandLine);
