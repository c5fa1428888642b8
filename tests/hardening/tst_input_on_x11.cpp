// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Input during a run as an X server delivers it, clicks and keys made through XTest: Escape
// stops the run, clicks on Start give one more run however many they are, and Exit closes the
// window when the run ends though nothing else happens, with no run after it.
#include "frm_velmora.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

// Last: Xlib's macros would clash with Qt's names.
#include <X11/Xlib.h>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// XTest on a connection of its own; libXtst is loaded, as its headers are no package of ours.
struct XTest {
    Display* display = XOpenDisplay(nullptr);
    void* library = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    template <class F> F* find(const char* name) const {
        return library ? reinterpret_cast<F*>(dlsym(library, name)) : nullptr;
    }
    int (*motion)(Display*, int, int, int, unsigned long) =
        find<int(Display*, int, int, int, unsigned long)>("XTestFakeMotionEvent");
    int (*button)(Display*, unsigned, int, unsigned long) =
        find<int(Display*, unsigned, int, unsigned long)>("XTestFakeButtonEvent");
    int (*key)(Display*, unsigned, int, unsigned long) =
        find<int(Display*, unsigned, int, unsigned long)>("XTestFakeKeyEvent");

    bool usable() const { return display && motion && button && key; }
    void click(QPoint at) const {
        motion(display, -1, at.x(), at.y(), 0);
        button(display, 1, True, 0);
        button(display, 1, False, 0);
        XFlush(display);
    }
    void escape() const {
        const unsigned code = XKeysymToKeycode(display, 0xff1b);
        key(display, code, True, 0);
        key(display, code, False, 0);
        XFlush(display);
    }
};

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

    XTest m_x;

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
            << QString(20, u'S') << 2 << false;
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
        const auto centre = [](QWidget* w) { return w->mapToGlobal(w->rect().center()); };
        const QPoint start = centre(window->cmdStart), exit = centre(window->cmdKonec);
        window->duringRun = [&] {
            for (const QChar c : input)
                c == u'E' ? m_x.escape() : m_x.click(c == u'S' ? start : exit);
        };
        QTimer::singleShot(0, window, [&window] { window->cmdStart_Click(); });
        // The program's own loop, which ends once the window is gone though nothing moves.
        QTimer enough;
        enough.callOnTimeout([] { QCoreApplication::exit(1); });
        enough.start(6000);
        QCOMPARE(QApplication::exec(), closed ? 0 : 1);
        QCOMPARE(window.isNull(), closed);
        QCOMPARE(ended, runs);
        if (!closed)
            QCOMPARE(window->description().contains(u"was stopped"_s), input == u"E");
    }
};

QTEST_MAIN(tst_InputOnX11)
#include "tst_input_on_x11.moc"
