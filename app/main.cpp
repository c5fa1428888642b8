// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"
#include "display_check.h"
#include "frm_velmora.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt falls back to a private folder of its own and works on; the warning names nothing a
// user of this program could do.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        qtHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(quietMessages);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine commandLine;
    QString message;
    if (const auto status = parseCommandLine(arguments, &commandLine, &message)) {
        QTextStream(*status == 0 ? stdout : stderr) << message;
        return *status;
    }

    bool headless = commandLine.withoutWindow();
    if (!headless) {
        const DisplayCheck display = checkDisplay();
        if (display.state == DisplayCheck::State::Unreachable) {
            QTextStream(stderr) << u"velmora: cannot open the display %1; --output FILE writes "
                                   u"the picture without one."_s.arg(display.failed)
                                << Qt::endl;
            return 1;
        }
        // Without any display a picture of the window is more use than nothing.
        headless = display.state == DisplayCheck::State::None;
    }
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The picture's own scale, not the desktop's: the canvas is made at this pixel ratio.
        qputenv("QT_SCALE_FACTOR", QByteArray::number(commandLine.scale));
    }
    prepareWindowSystem();
    // The command line is ours alone: Qt's own options (-platform, -style) would bypass the
    // checks above.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(u"Velmora"_s);
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setOrganizationName(u"Velmora"_s); // where the zoom is remembered
    // The application ID: the desktop file's name, and the Wayland app ID docks match it with.
    QApplication::setDesktopFileName(u"org.example.velmora.Velmora"_s);

    // Closing unloads the window, and with the last window the program ends.
    auto* window = new frmVelmora;
    applyPresets(*window, commandLine);
    if (headless) {
        const int status = runWithoutDisplay(*window, commandLine);
        delete window;
        return status;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->restoreZoom(); // on screen only: a file's picture does not depend on it
    window->show();
    // Without a window manager, or with one that maps windows unfocused, the keyboard would not
    // reach the window and a screen reader would not hear it open.
    window->activateWindow();
    if (commandLine.run)
        QTimer::singleShot(0, window->cmdStart, &QPushButton::click);
    return QApplication::exec();
}
