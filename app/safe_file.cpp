// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "safe_file.h"

#include "native_text.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// Every byte, a short write continued until the system says why it stops.
bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A new file beside PATH that no one else holds; O_EXCL follows no link planted at its name.
int createTemporary(const QByteArray& path, mode_t mode, QByteArray* temporary) {
    static constexpr char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = path + '.';
        for (int k = 0; k < 6; ++k)
            *temporary += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd =
            ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool saveFileSafely(const QByteArray& path, const std::function<bool(QIODevice&)>& write,
                    QString* error) {
    const QString shownPath = shown(fromNative(path));
    const auto fail = [&](int cause) {
        *error = u"cannot write %1: %2"_s.arg(shownPath, qt_error_string(cause));
        return false;
    };
    struct stat existing {};
    const bool exists = ::lstat(path.constData(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode)) {
        *error = u"%1 is a symbolic link, which Velmora does not follow; name its target "
                 u"instead"_s.arg(shownPath);
        return false;
    }
    // Made whole in memory first: a writer that meets a full disk halfway (the SVG generator,
    // libpng) may not say so, and nothing is opened for content that cannot be made.
    QByteArray content;
    {
        QBuffer buffer(&content);
        buffer.open(QIODevice::WriteOnly);
        if (!write(buffer)) {
            *error = u"cannot write %1: Velmora could not make its content"_s.arg(shownPath);
            return false;
        }
    }
    // A device or a pipe is written to, not replaced: a rename would put a file in its place,
    // and as root, -o /dev/null would remove /dev/null.
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(path.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return fail(errno);
        const bool written = writeAll(fd, content);
        const int cause = errno;
        if (::close(fd) != 0 && written)
            return fail(errno);
        return written || fail(cause);
    }
    // A file its owner made read-only stays as it is.
    if (exists && ::access(path.constData(), W_OK) != 0)
        return fail(errno);
    // Private until it takes the earlier file's permissions; a new file gets the umask's.
    QByteArray temporary;
    const int fd = createTemporary(path, exists ? 0600 : 0666, &temporary);
    if (fd < 0)
        return fail(errno);
    // The data reaches the disk before the name points at it; EINVAL: no syncing there at all.
    const bool written = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) &&
                         writeAll(fd, content) && (::fsync(fd) == 0 || errno == EINVAL);
    int cause = errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed)
        cause = errno;
    // The rename replaces whatever lies at PATH by now, a link planted since the first look
    // too, without writing through it.
    if (!written || !closed || ::rename(temporary.constData(), path.constData()) != 0) {
        if (written && closed)
            cause = errno;
        ::unlink(temporary.constData()); // the earlier file stays as it was
        return fail(cause);
    }
    return true;
}
