// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window zoomed: the window, its controls and the picture scale by one factor, the picture
// is drawn again at the new scale rather than enlarged, the zoom is remembered, and full screen
// fits the screen, centred.
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

bool near(const QRect& actual, const QRectF& expected) {
    return std::abs(actual.x() - expected.x()) <= 1 && std::abs(actual.y() - expected.y()) <= 1 &&
           std::abs(actual.width() - expected.width()) <= 1 &&
           std::abs(actual.height() - expected.height()) <= 1;
}

// At the zoom and origin, where twips land in the window.
QRectF pixels(QRectF twips, double zoom, QPointF origin = {}) {
    return QRectF(twips.topLeft() * zoom / 15 + origin, twips.size() * zoom / 15);
}

// Scale, place and draw together: a control, a result label, the window or client area, a
// font, and a line of the picture, each at the same factor.
void checkZoomed(frmVelmora& w, double zoom, QPointF origin) {
    QVERIFY2(near(w.HScroll1->geometry(), pixels({3480, 480, 2415, 255}, zoom, origin)),
             qPrintable(u"bar at %1, %2"_s.arg(w.HScroll1->x()).arg(w.HScroll1->y())));
    QVERIFY(std::abs(w.labDetektorB->x() - (5500 * zoom / 15 + origin.x())) <= 1);
    QVERIFY(std::abs(w.labDetektorB->y() - (1000 * zoom / 15 + origin.y())) <= 1);
    QVERIFY(std::abs(w.cmdStart->font().pointSizeF() - 15.75 * zoom) < 0.01);
    QCOMPARE(w.picture().size(), (QSizeF(765, 560) * zoom).toSize());
    // The detector line at 5500 twips, two pixels wide at 100 %: its centre.
    const QPointF centre = QPointF(5500 / 15.0, 120) * zoom + origin;
    const QPoint onLine(int(centre.x()), int(centre.y()));
    QCOMPARE(w.grab().toImage().pixelColor(onLine), QColor(Qt::black));
    QAccessibleInterface* picture =
        QAccessible::queryAccessibleInterface(w.findChild<QObject*>(u"picture"_s));
    QVERIFY(near(picture->rect().translated(-w.mapToGlobal(QPoint())),
                 pixels({0, 0, 11475, 8400}, zoom, origin)));
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init() { QSettings().remove(u"view/zoom"_s); }

    void zoomKeys_data() {
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<int>("percent");
        const QKeySequence in(Qt::CTRL | Qt::Key_Plus), out(Qt::CTRL | Qt::Key_Minus);
        QTest::newRow("Ctrl++ once") << QList{in} << 125;
        QTest::newRow("Ctrl+= as Ctrl++") << QList{QKeySequence(Qt::CTRL | Qt::Key_Equal)} << 125;
        QTest::newRow("Ctrl++ past the top") << QList<QKeySequence>(8, in) << 300;
        QTest::newRow("Ctrl++ four times") << QList<QKeySequence>(4, in) << 200;
        QTest::newRow("Ctrl+- at 100 % stays") << QList{out} << 100;
        QTest::newRow("Ctrl++ twice, Ctrl+- once") << QList{in, in, out} << 125;
        QTest::newRow("Ctrl+0 after zooming in")
            << QList{in, in, QKeySequence(Qt::CTRL | Qt::Key_0)} << 100;
    }

    // Zoomed after a run: the picture is drawn again, as a new window that remembers the zoom
    // draws it.
    void zoomKeys() {
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(int, percent);
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdStart_Click();
        for (const QKeySequence& key : keys)
            QTest::keySequence(&w, key);
        const double zoom = percent / 100.0;
        QCOMPARE(w.size(), (QSizeF(765, 560) * zoom).toSize());
        checkZoomed(w, zoom, {});

        frmVelmora next;
        next.restoreZoom();
        QCOMPARE(next.size(), w.size());
        next.cmdStart_Click();
        QVERIFY(next.picture() == w.picture());
    }

    void fullScreenFitsAndEscapeLeaves() {
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdStart_Click();
        QTest::keyClick(&w, Qt::Key_F11);
        const QSize screen = w.screen()->geometry().size();
        QTRY_COMPARE(w.size(), screen);
        const double zoom = std::min(screen.width() / 765.0, screen.height() / 560.0);
        QVERIFY(std::abs(w.zoom() - zoom) < 1e-9);
        const QSizeF client = QSizeF(765, 560) * zoom;
        const QPointF origin((screen.width() - client.width()) / 2,
                             (screen.height() - client.height()) / 2);
        QVERIFY(origin.x() >= -1 && origin.y() >= -1);
        checkZoomed(w, zoom, origin);

        QTest::keyClick(&w, Qt::Key_Escape);
        QTRY_COMPARE(w.size(), QSize(765, 560));
        checkZoomed(w, 1, {});
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
