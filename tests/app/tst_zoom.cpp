// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window zoomed on a real X server, bare and under a window manager: window, controls,
// fonts, result labels and picture scale by one factor, the picture is drawn again at the new
// scale, the zoom is remembered, steps stop where the screen ends, and full screen fits.
#include "frm_velmora.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Whether a widget's rectangle lies, to a pixel, where the twips land at the zoom and origin.
bool at(const QRect& actual, QRectF twips, double zoom, QPointF origin) {
    const QRectF px(twips.topLeft() * zoom / 15 + origin, twips.size() * zoom / 15);
    return (QRectF(actual).topLeft() - px.topLeft()).manhattanLength() <= 2 &&
           std::abs(actual.width() - px.width()) <= 1 &&
           std::abs(actual.height() - px.height()) <= 1;
}

void checkZoomed(frmVelmora& w, double zoom, QPointF origin) {
    QVERIFY(at(w.HScroll1->geometry(), {3480, 480, 2415, 255}, zoom, origin));
    QVERIFY(at(QRect(w.labDetektorB->pos(), QSize()), {5500, 1000, 0, 0}, zoom, origin));
    QVERIFY(std::abs(w.cmdStart->font().pointSizeF() - 15.75 * zoom) < 0.01);
    QCOMPARE(w.picture().size(), (QSizeF(765, 560) * zoom).toSize());
    const QPointF line = QPointF(5500 / 15.0, 120) * zoom + origin; // the detector line's middle
    QCOMPARE(w.grab().toImage().pixelColor(int(line.x()), int(line.y())), QColor(Qt::black));
    QObject* picture = w.findChild<QObject*>(u"picture"_s);
    const QRect area = QAccessible::queryAccessibleInterface(picture)->rect();
    QVERIFY(at(area.translated(-w.mapToGlobal(QPoint())), {0, 0, 11475, 8400}, zoom, origin));
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

    // What fits is known for this screen alone; on_xvfb.py makes it.
    const QSize screen{1920, 1080};

    static void showActive(QWidget& w) {
        w.show();
        w.activateWindow(); // without a window manager nobody else gives it the keyboard
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), screen);
    }
    void init() { QSettings().remove(u"view/zoom"_s); }

    void zoomKeys_data() {
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<int>("percent");
        const QKeySequence in(Qt::CTRL | Qt::Key_Plus), out(Qt::CTRL | Qt::Key_Minus);
        QTest::newRow("Ctrl+= as Ctrl++") << QList{QKeySequence(Qt::CTRL | Qt::Key_Equal)} << 125;
        // 200 % would be 1120 pixels high, taller than the screen.
        QTest::newRow("Ctrl++ past what the screen holds") << QList<QKeySequence>(8, in) << 175;
        QTest::newRow("Ctrl+- at 100 % stays") << QList{out} << 100;
        QTest::newRow("Ctrl++ twice, Ctrl+- once") << QList{in, in, out} << 125;
        QTest::newRow("Ctrl+0") << QList{in, in, QKeySequence(Qt::CTRL | Qt::Key_0)} << 100;
    }
    // Zoomed after a run, the picture is what a new window at the remembered zoom draws; the
    // window with its frame stays on the screen.
    void zoomKeys() {
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(int, percent);
        frmVelmora w;
        showActive(w);
        w.cmdStart_Click();
        for (const QKeySequence& key : keys)
            QTest::keySequence(&w, key);
        QTRY_COMPARE(w.size(), (QSizeF(765, 560) * percent / 100.0).toSize());
        checkZoomed(w, percent / 100.0, {});
        QTRY_VERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));

        frmVelmora next;
        next.restoreZoom();
        next.cmdStart_Click();
        QVERIFY(next.picture() == w.picture());
    }

    // A step chosen on a larger screen: shown as large as this one holds, and kept for that one.
    void rememberedStepTooLarge() {
        QSettings().setValue(u"view/zoom"_s, 300);
        frmVelmora w;
        w.restoreZoom();
        showActive(w);
        QCOMPARE(w.zoom(), 1.75);
        QCOMPARE(QSettings().value(u"view/zoom"_s).toInt(), 300);
    }

    void fullScreenFitsAndEscapeLeaves_data() {
        QTest::addColumn<int>("zoomIns"); // Ctrl++ before F11
        QTest::addColumn<int>("percent"); // the step they reach
        QTest::newRow("at 100 %") << 0 << 100;
        QTest::newRow("at the largest step that fits") << 4 << 175;
    }
    void fullScreenFitsAndEscapeLeaves() {
        QFETCH(int, zoomIns);
        QFETCH(int, percent);
        frmVelmora w;
        showActive(w);
        w.cmdStart_Click();
        for (int i = 0; i < zoomIns; ++i)
            QTest::keySequence(&w, QKeySequence(Qt::CTRL | Qt::Key_Plus));
        const QSize step = (QSizeF(765, 560) * percent / 100.0).toSize();
        QTRY_COMPARE(w.size(), step); // as a hand would press F11: after the step has shown
        QTest::keyClick(&w, Qt::Key_F11);
        QTRY_COMPARE(w.geometry(), QRect(QPoint(), screen));
        const double zoom = std::min(screen.width() / 765.0, screen.height() / 560.0);
        QTRY_COMPARE(w.zoom(), zoom);
        const QSizeF margin = (QSizeF(screen) - QSizeF(765, 560) * zoom) / 2;
        checkZoomed(w, zoom, {margin.width(), margin.height()});
        QTest::keyClick(&w, Qt::Key_Escape);
        QTRY_COMPARE(w.size(), step);
        checkZoomed(w, percent / 100.0, {});
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
