// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window from the keyboard: where focus starts, the Tab cycle with one stop per option
// group, arrow keys inside a group, and Space on a button.
#include "frm_velmora.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<frmVelmora> m_window;

    QString focused() const {
        const QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : u"(none)"_s;
    }
    template <class T = QWidget> T* control(const QString& name) const {
        return m_window->findChild<T*>(name);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        m_window = std::make_unique<frmVelmora>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void focusStartsOnStart() { QCOMPARE(focused(), u"cmdStart"_s); }

    void tabCycle_data() {
        QTest::addColumn<QStringList>("select");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("defaults") << QStringList{}
                                  << QStringList{u"cmdKonec"_s, u"op06"_s, u"opV350"_s,
                                                 u"HScroll1"_s, u"cmdStart"_s};
        // The stop moves with the selection and keeps its button's place in the tab order.
        QTest::newRow("high and 400")
            << QStringList{u"op1"_s, u"opV400"_s}
            << QStringList{u"cmdKonec"_s, u"op1"_s, u"opV400"_s, u"HScroll1"_s, u"cmdStart"_s};
        QTest::newRow("lower and 300, frequency after distance")
            << QStringList{u"op003"_s, u"opV300"_s}
            << QStringList{u"cmdKonec"_s, u"opV300"_s, u"op003"_s, u"HScroll1"_s, u"cmdStart"_s};
    }

    void tabCycle() {
        QFETCH(QStringList, select);
        QFETCH(QStringList, stops);
        for (const QString& name : select)
            control<QRadioButton>(name)->setChecked(true);
        control(u"cmdStart"_s)->setFocus();

        QStringList visited;
        for (int i = 0; i < stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focused();
        }
        QCOMPARE(visited, stops);

        // Shift+Tab walks the same cycle backwards.
        QStringList back;
        for (int i = 0; i < stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back << focused();
        }
        std::reverse(stops.begin(), stops.end());
        stops.removeFirst();
        stops << u"cmdStart"_s;
        QCOMPARE(back, stops);
    }

    void arrowKeys_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("middle, down to low")
            << u"op06"_s << int(Qt::Key_Down) << u"op02"_s << u"nFi"_s << u"0.2"_s;
        QTest::newRow("middle, up to high")
            << u"op06"_s << int(Qt::Key_Up) << u"op1"_s << u"nFi"_s << u"1"_s;
        QTest::newRow("high, up to higher")
            << u"op1"_s << int(Qt::Key_Up) << u"op5"_s << u"nFi"_s << u"5"_s;
        QTest::newRow("low, down to lower")
            << u"op02"_s << int(Qt::Key_Down) << u"op003"_s << u"nFi"_s << u"0.03"_s;
        QTest::newRow("350, down to 400")
            << u"opV350"_s << int(Qt::Key_Down) << u"opV400"_s << u"nRozteč"_s << u"400"_s;
        QTest::newRow("350, up to 300")
            << u"opV350"_s << int(Qt::Key_Up) << u"opV300"_s << u"nRozteč"_s << u"300"_s;
        QTest::newRow("lower, down stays in its frame")
            << u"op003"_s << int(Qt::Key_Down) << u"op003"_s << u"nFi"_s << u"0.03"_s;
        // Sideways too, in caption order, though the staircase puts "middle" nearer on the right.
        QTest::newRow("higher, right to high")
            << u"op5"_s << int(Qt::Key_Right) << u"op1"_s << u"nFi"_s << u"1"_s;
        QTest::newRow("high, right to middle")
            << u"op1"_s << int(Qt::Key_Right) << u"op06"_s << u"nFi"_s << u"0.6"_s;
        QTest::newRow("lower, left to low")
            << u"op003"_s << int(Qt::Key_Left) << u"op02"_s << u"nFi"_s << u"0.2"_s;
        QTest::newRow("higher, left stays in its frame")
            << u"op5"_s << int(Qt::Key_Left) << u"op5"_s << u"nFi"_s << u"5"_s;
        QTest::newRow("300, right to 350")
            << u"opV300"_s << int(Qt::Key_Right) << u"opV350"_s << u"nRozteč"_s << u"350"_s;
        QTest::newRow("400, left to 350")
            << u"opV400"_s << int(Qt::Key_Left) << u"opV350"_s << u"nRozteč"_s << u"350"_s;
    }

    // An arrow selects the neighbour, which raises its Click and rewrites the preset.
    void arrowKeys() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        QFETCH(QString, box);
        QFETCH(QString, text);
        auto* start = control<QRadioButton>(from);
        start->setChecked(true);
        start->setFocus();
        QCOMPARE(focused(), from);

        QTest::keyClick(start, Qt::Key(key));
        QCOMPARE(focused(), to);
        QVERIFY(control<QRadioButton>(to)->isChecked());
        QCOMPARE(control<QLineEdit>(box)->text(), text);
    }

    void spacePressesFocusedButton() {
        control(u"cmdKonec"_s)->setFocus();
        QTest::keyClick(control(u"cmdKonec"_s), Qt::Key_Space);
        QVERIFY(!m_window->isVisible());
    }

    void clicksOnLabelsAndFramesKeepFocus_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("title label") << u"labNeurcitost"_s;
        QTest::newRow("prompt label") << u"LabStart"_s;
        QTest::newRow("frequency frame") << u"frmFrekvence"_s;
        QTest::newRow("distance frame") << u"frmVzdalenost"_s;
    }

    void clicksOnLabelsAndFramesKeepFocus() {
        QFETCH(QString, name);
        control(u"cmdKonec"_s)->setFocus();
        QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(focused(), u"cmdKonec"_s);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
