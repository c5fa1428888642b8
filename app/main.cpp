// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frm_velmora.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    bool headless = false;
#ifdef Q_OS_LINUX
    // Without a display Qt would abort; a picture of the window is more use than that.
    headless = qEnvironmentVariableIsEmpty("DISPLAY") &&
               qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
               !qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    prepareWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Velmora"_s);
    QApplication::setOrganizationName(u"Velmora"_s); // where the zoom is remembered
    // The application ID: the desktop file's name, and the Wayland app ID docks match it with.
    QApplication::setDesktopFileName(u"org.example.velmora.Velmora"_s);

    // Closing unloads the window, and with the last window the program ends.
    auto* window = new frmVelmora;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (!headless) {
        // Without a window manager, or with one that maps windows unfocused, the keyboard
        // would not reach the window and a screen reader would not hear it open.
        window->activateWindow();
        return QApplication::exec();
    }

    window->cmdStart_Click();
    const QString path = QDir(QDir::tempPath()).filePath(u"velmora-window.png"_s);
    const bool saved = window->grab().save(path);
    delete window;
    if (!saved) {
        QTextStream(stderr) << u"No display is available, and Velmora could not write %1."_s.arg(
                                   QDir::toNativeSeparators(path))
                            << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << u"No display is available, so Velmora drew its window after one run "
                           u"into %1."_s.arg(QDir::toNativeSeparators(path))
                        << Qt::endl;
    return 0;
}
