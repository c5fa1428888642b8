// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Files written from the window: its picture as PNG or SVG, and any file written whole or not
// at all.
#pragma once

#include <QString>

#include <functional>

class QIODevice;
class frmVelmora;

// Writes through a temporary file beside PATH that is renamed over it once complete, so a
// failed write leaves the old file; a device or pipe at PATH is written to directly. PATH must
// not be a symbolic link: it is refused rather than followed. WRITE returns false when it
// could not produce its content. On failure returns false and says why in *error.
bool saveFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error);

// The window's client area after its last run: SVG when PATH ends in ".svg", otherwise PNG.
// A PNG has scale × the window's size in pixels; an SVG shows that size and keeps the drawing
// as vectors and the captions as text.
bool writePicture(frmVelmora& window, const QString& path, int scale, QString* error);
