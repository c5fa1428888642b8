// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"
#include "display_check.h"
#include "explore.h"
#include "explore_panel.h"
#include "frm_velmora.h"
#include "native_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt falls back to a private folder of its own and works on; the warning names nothing a
// user of this program could do.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        qtHandler(type, context, message);
}

// Names what the settings, the message boxes and the desktop know the program by.
void nameApplication() {
    QCoreApplication::setApplicationName(u"Velmora"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QCoreApplication::setOrganizationName(u"Velmora"_s); // where the zoom is remembered
    // The application ID: the desktop file's name, and the Wayland app ID docks match it with.
    QGuiApplication::setDesktopFileName(u"org.example.velmora.Velmora"_s);
}

// The panel at the values given, over the presets' own.
void openExplore(const CommandLine& commandLine, frmVelmora* window) {
    window->openExplore();
    ExplorePanel* panel = window->explorePanel();
    const velmora::ExploreSettings settings = commandLine.exploreSettings(window->parameterStore());
    if (settings.parameters) {
        const velmora::ExploreValues values = velmora::explore::valuesOf(*settings.parameters);
        for (const velmora::explore::Field& f : velmora::explore::fields)
            panel->setValue(f.quantity, velmora::explore::valueOf(values, f.quantity));
    }
    panel->theoryCurve()->setChecked(commandLine.theory);
}

} // namespace

int main(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(quietMessages);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fromNative(argv[i]);
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
                                   u"the picture without one."_s.arg(shown(display.failed))
                                << Qt::endl;
            return 1;
        }
        // Without any display a picture of the window is more use than nothing.
        headless = display.state == DisplayCheck::State::None;
    }
    // The command line is ours alone: Qt's own options (-platform, -style) would bypass the
    // checks above.
    int qtArgc = 1;
    if (headless) {
        if (!commandLine.withoutWindow() && !claimTemporaryPicture(&commandLine))
            return 1;
        // The intensities need no display at all; a picture only what painting text needs.
        std::unique_ptr<QCoreApplication> app;
        if (commandLine.output.isEmpty() && !commandLine.intensities.isEmpty()) {
            app = std::make_unique<QCoreApplication>(qtArgc, argv);
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            // The style caches what it draws at the application's pixel ratio: the picture's.
            qputenv("QT_SCALE_FACTOR", QByteArray::number(commandLine.scale));
            app = std::make_unique<QGuiApplication>(qtArgc, argv);
        }
        nameApplication();
        return runWithoutWindow(commandLine);
    }
    prepareWindowSystem();
    QApplication app(qtArgc, argv);
    nameApplication();

    // Closing unloads the window, and with the last window the program ends.
    auto* window = new frmVelmora;
    // As a click would select them: their handlers write the presets.
    for (const QString& option : {commandLine.frequency, commandLine.distance}) {
        if (!option.isEmpty())
            window->findChild<QRadioButton*>(option)->setChecked(true);
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->restoreZoom();
    window->show();
    // Without a window manager, or with one that maps windows unfocused, the keyboard would not
    // reach the window and a screen reader would not hear it open.
    window->activateWindow();
    if (commandLine.exploring() || commandLine.theory)
        openExplore(commandLine, window);
    if (commandLine.run)
        QTimer::singleShot(0, window->cmdStart, &QPushButton::click);
    return QApplication::exec();
}
