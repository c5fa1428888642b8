// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "display_check.h"

#include "native_text.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Connects as Qt's X11 platform does, through libxcb, loaded only when needed so that the
// program does not link against X11 for a check. The library stays loaded: Qt loads it anyway.
bool canOpenX11(const QByteArray& display) {
    struct Connection;
    using Connect = Connection* (*)(const char*, int*);
    using HasError = int (*)(Connection*);
    using Disconnect = void (*)(Connection*);
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    const auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    if (!connect || !hasError || !disconnect)
        return false;
    Connection* connection = connect(display.constData(), nullptr);
    // A failed connection is still an object to free.
    const bool opened = connection && hasError(connection) == 0;
    if (connection)
        disconnect(connection);
    return opened;
}

// A Wayland display is a socket; whoever listens on it is the compositor.
bool canConnectWayland(const QString& socketPath) {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

bool hasWaylandPlugin() {
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    return QFileInfo::exists(plugins.filePath(u"platforms/libqwayland-generic.so"_s));
}

} // namespace

DisplayCheck checkDisplay() {
    // Which platforms Qt will try: the ones named, or either when left to choose.
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool tryX11 = chosen.isEmpty(), tryWayland = chosen.isEmpty();
    for (const QString& entry : chosen.split(u';', Qt::SkipEmptyParts)) {
        const QString name = entry.section(u':', 0, 0);
        if (name == u"xcb")
            tryX11 = true;
        else if (name.startsWith(u"wayland"))
            tryWayland = true;
        else
            return {DisplayCheck::State::Usable, {}}; // offscreen, vnc and the like need no display
    }

    const QByteArray x11 = qgetenv("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    const bool x11Named = tryX11 && !x11.isEmpty();
    // A compositor that starts its client hands it the connection in WAYLAND_SOCKET instead.
    const bool waylandInherited = tryWayland && qEnvironmentVariableIsSet("WAYLAND_SOCKET");
    const bool waylandNamed = tryWayland && (!wayland.isEmpty() || waylandInherited);
    if (!x11Named && !waylandNamed) {
        if (chosen.isEmpty())
            return {};
        return {
            DisplayCheck::State::Unreachable,
            u"for the platform \"%1\": neither DISPLAY nor WAYLAND_DISPLAY is set"_s.arg(chosen)};
    }

    QStringList failures;
    const bool x11Works = x11Named && canOpenX11(x11);
    if (x11Named && !x11Works)
        failures << u"\"%1\" (DISPLAY)"_s.arg(fromNative(x11));
    bool waylandWorks = waylandInherited;
    if (waylandNamed && !waylandInherited) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        const QString socketPath = QDir::isAbsolutePath(wayland) || runtime.isEmpty()
                                       ? wayland
                                       : QDir(runtime).filePath(wayland);
        if (!canConnectWayland(socketPath))
            failures << u"\"%1\" (WAYLAND_DISPLAY)"_s.arg(socketPath);
        else if (!hasWaylandPlugin())
            failures << u"\"%1\" (WAYLAND_DISPLAY: Qt's Wayland support, qt6-wayland, is not "
                        u"installed)"_s.arg(socketPath);
        else
            waylandWorks = true;
    }
    if (!x11Works && !waylandWorks)
        return {DisplayCheck::State::Unreachable, failures.join(u" or "_s)};
    // Left to itself Qt could pick the named display that does not work, and abort.
    if (chosen.isEmpty() && x11Named && waylandNamed && x11Works != waylandWorks)
        qputenv("QT_QPA_PLATFORM", x11Works ? "xcb" : "wayland");
    return {DisplayCheck::State::Usable, {}};
}
