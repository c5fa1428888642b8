// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's picture as a file, written with or without the window: PNG, SVG, and JPEG, BMP
// or WebP where Qt's image writers can.
#pragma once

#include "form_painter.h"
#include "parameter_store.h"
#include "start_action.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a picture of the window shows: the run's drawing, then the controls over it as the form
// painter paints them, at the window's zoom.
struct Picture {
    std::optional<velmora::ParameterStore> run; // the presets of the run drawn, if any
    FormState form;
    double zoom = 1;
    QString title, description;
    int steps = velmora::scanPoints;  // the scan steps the run drew before it was stopped
    velmora::ExploreSettings explore; // Explore's values for the run, if it had them
};

// The format of a file of that NAME, by its extension in any case, as QImageWriter names it
// (or "svg"); a name without an extension is PNG. None for an extension of no format written
// here.
std::optional<QByteArray> pictureFormat(const QByteArray& name);

// The formats written here with their extensions, as a sentence lists them.
QString pictureFormats();

// The client area, in the format its name says. A PNG has scale × the client area's size in
// pixels, as have the other images; an SVG shows that size and keeps the drawing as vectors and
// the captions as text, as the page writes it too. The run is drawn again, as it draws the same
// picture every time. The file is written whole or not at all (saveFileSafely).
bool writePicture(const Picture& picture, const QByteArray& path, int scale, QString* error);
// A name the window chose, as its bytes; refused when it has none.
bool writePicture(const Picture& picture, const QString& path, int scale, QString* error);
