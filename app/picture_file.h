// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Files written with or without the window: its picture as PNG or SVG, and any file written
// whole or not at all.
#pragma once

#include "form_painter.h"
#include "parameter_store.h"
#include "start_action.h"

#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// WRITE makes the content in memory; it then goes to a temporary file beside PATH, renamed over
// it only once every write and the flush succeeded, so a failed write (a full disk, a file size
// limit) leaves the old file. A device or pipe at PATH is written to directly, every write
// checked. PATH must not be a symbolic link: it is refused rather than followed. WRITE returns
// false when it could not produce its content. On failure returns false and says in *error
// which path failed and why.
bool saveFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error);

// What a picture of the window shows: the run's drawing, then the controls over it as the form
// painter paints them, at the window's zoom.
struct Picture {
    std::optional<velmora::ParameterStore> run; // the presets of the run drawn, if any
    FormState form;
    double zoom = 1;
    QString title, description;
    velmora::ExploreSettings explore; // Explore's values for the run, if it had them
};

// The client area: SVG when PATH ends in ".svg", otherwise PNG. A PNG has scale × the client
// area's size in pixels; an SVG shows that size and keeps the drawing as vectors and the
// captions as text. The run is drawn again, as it draws the same picture every time.
bool writePicture(const Picture& picture, const QString& path, int scale, QString* error);
