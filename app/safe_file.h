// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Files written whole or not at all, under names kept as the system's bytes.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// WRITE makes the content in memory; it then goes to a temporary file beside PATH, renamed over
// it only once every write and the flush succeeded, so a failed write (a full disk, a file size
// limit) leaves the old file. A device or pipe at PATH is written to directly, every write
// checked. PATH must not be a symbolic link: it is refused rather than followed. WRITE returns
// false when it could not produce its content. On failure returns false and says in *error
// which path failed and why.
bool saveFileSafely(const QByteArray& path, const std::function<bool(QIODevice&)>& write,
                    QString* error);
