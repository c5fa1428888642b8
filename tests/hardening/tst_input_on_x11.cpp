// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Input during a run as an X server delivers it, clicks and keys made through XTest: Escape
// stops the run, clicks on Start give one more run however many they are, and Exit closes the
// window when the run ends though nothing else happens, with no run after it.
#include "frm_velmora.h"
#include "x_input.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr unsigned long escapeKeysym = 0xff1b;

class ProbedWindow : public frmVelmora {
public:
    std::function<void()> duringRun;

protected:
    void paintEvent(QPaintEvent* event) override {
        frmVelmora::paintEvent(event);
        if (duringRun)
            std::exchange(duringRun, nullptr)(); // once, at the run's first repaint
    }
};

} // namespace

class tst_InputOnX11 : public QObject {
    Q_OBJECT

    XInput m_x;

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != u"xcb" || !m_x.usable())
            QSKIP("needs an X server with its XTest extension");
    }

    void inputDuringRun_data() {
        // S: a click on Start, X: a click on Exit, E: Escape; all at the run's first repaint.
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("runs");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Escape stops the run") << u"E"_s << 1 << false;
        QTest::newRow("twenty clicks on Start give one run more")
            << u"SSSSSSSSSSSSSSSSSSSS"_s << 2 << false;
        QTest::newRow("Exit closes the window as the run ends") << u"X"_s << 1 << true;
        QTest::newRow("Exit after Start: no run after it") << u"SSSX"_s << 1 << true;
    }

    void inputDuringRun() {
        QFETCH(QString, input);
        QFETCH(int, runs);
        QFETCH(bool, closed);
        QPointer<ProbedWindow> window = new ProbedWindow;
        const auto cleanup = qScopeGuard([&window] { delete window.data(); });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->activateWindow(); // keys go to the window with the server's focus
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->HScroll1->setValue(8400); // a run of about a second
        int ended = 0;
        connect(window, &frmVelmora::runEnded, this, [&ended] { ++ended; });
        const QPoint start = window->cmdStart->mapToGlobal(window->cmdStart->rect().center());
        const QPoint exit = window->cmdKonec->mapToGlobal(window->cmdKonec->rect().center());
        window->duringRun = [&] {
            for (const QChar c : input) {
                if (c == u'E')
                    m_x.key(escapeKeysym);
                else
                    m_x.click(c == u'S' ? start.x() : exit.x(), c == u'S' ? start.y() : exit.y());
            }
        };
        QTimer::singleShot(0, window, [&window] { window->cmdStart_Click(); });
        // The program's own loop, which ends once the window is gone, and nothing else moves.
        QTimer enough;
        enough.callOnTimeout([] { QCoreApplication::exit(1); });
        enough.start(6000);
        if (closed) {
            QCOMPARE(QApplication::exec(), 0);
            QVERIFY(window.isNull());
            QCOMPARE(ended, runs);
            return;
        }
        QCOMPARE(QApplication::exec(), 1);
        QCOMPARE(ended, runs);
        const QString description = window->description();
        if (input == u"E") {
            // Within a few steps of the key, not at the scan's end.
            const int drawn =
                description.section(u"stopped after "_s, 1).section(u' ', 0, 0).toInt();
            QVERIFY2(description.contains(u"was stopped"_s) && drawn < 50, qPrintable(description));
            QVERIFY(!window->labDetektorB->isVisible()); // a stopped scan places no label
        } else {
            QVERIFY2(description.startsWith(u"Drawn with"_s), qPrintable(description));
        }
    }
};

QTEST_MAIN(tst_InputOnX11)
#include "tst_input_on_x11.moc"
