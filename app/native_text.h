// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the system hands over as bytes (arguments, file names, the environment): decoded without
// loss, encoded back to the very same bytes, and shown in messages without acting on a terminal.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// UTF-8 as text; a byte that is not part of valid UTF-8 becomes the lone surrogate U+DC80 to
// U+DCFF, which no valid text holds, so that toNative() gives it back.
QString fromNative(QByteArrayView bytes);

// The bytes fromNative() read TEXT from. None for text no file name can hold: a NUL, or a lone
// surrogate fromNative() did not make.
std::optional<QByteArray> toNative(QStringView text);

// TEXT as a message may echo it: control and formatting characters (an escape sequence, a
// right-to-left override, a line break) written as \x1b or \u202e, and a byte that was not
// UTF-8 as \xff.
QString shown(QStringView text);
