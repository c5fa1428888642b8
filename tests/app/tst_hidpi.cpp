// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window on a screen with two device pixels per logical one: the picture is drawn at
// full resolution and shown pixel for pixel.
#include "frm_velmora.h"

#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void pictureAtDoubleResolution() {
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(765, 560));
        w.findChild<QPushButton*>(u"cmdStart"_s)->click();
        const QImage picture = w.picture();
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), QSize(1530, 1120));

        // Shown at 1:1 in device pixels: an area with no control over it matches exactly.
        const QImage shown = w.grab().toImage();
        QCOMPARE(shown.size(), picture.size());
        const QRect free(2 * 130, 2 * 230, 2 * 360, 2 * 270);
        QVERIFY(shown.copy(free).convertToFormat(picture.format()) == picture.copy(free));
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
