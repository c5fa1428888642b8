// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What loading, the option buttons and the scroll bar write into the hidden preset boxes, in
// more than one locale, and how Exit and closing end the program.
#include "frm_velmora.h"

#include "presets.h"

#include <QAccessible>

// moc cannot read the accented names the adapters bring in, and needs none of them.
#ifndef Q_MOC_RUN
#include "core_text.h"
#endif

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
const QLocale persian(QLocale::Persian, QLocale::Iran);

QString text(const frmVelmora& w, const QString& box) {
    return w.findChild<QLineEdit*>(box)->text();
}

} // namespace

class TestHandlers : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(english); }

    void loading_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("fi");
        QTest::newRow("English") << english << u"0.6"_s;
        QTest::newRow("Czech, decimal comma") << czech << u"0,6"_s;
        QTest::newRow("Arabic, ASCII digits") << arabic << u"0\u066B6"_s;
    }

    void loading() {
        QFETCH(QLocale, locale);
        QFETCH(QString, fi);
        QLocale::setDefault(locale);
        frmVelmora w;
        QCOMPARE(text(w, u"nFi"_s), fi);
        QCOMPARE(text(w, u"nRozteč"_s), u"350"_s);
        QCOMPARE(text(w, u"nSpomaleni"_s), u"1"_s);
        for (const char16_t* name : {u"op06", u"opV350", u"opRychlá"})
            QVERIFY(w.findChild<QRadioButton*>(QString::fromUtf16(name))->isChecked());

        // The run must take what loading wrote for "middle".
        const velmora::Frequency f =
            velmora::frequencyFor(velmora::qt::toUtf8(fi), velmora::qt::decimalPoint());
        QVERIFY(qAbs(f.stepLength - 1) < 1e-12);
        QVERIFY(qAbs(f.phaseFactor - 0.05) < 1e-12);
    }

    // Loading selects in code, and only the Click of opV350 can have written the distance.
    void loadingRaisesClicks() {
        frmVelmora w;
        w.findChild<QLineEdit*>(u"nRozteč"_s)->clear();
        w.findChild<QLineEdit*>(u"nSpomaleni"_s)->setText(u"x"_s);
        w.findChild<QRadioButton*>(u"opV300"_s)->setChecked(true);
        w.findChild<QRadioButton*>(u"OpPomalejší"_s)->setChecked(true);
        w.Form_Load();
        QCOMPARE(text(w, u"nRozteč"_s), u"350"_s);
        QCOMPARE(text(w, u"nSpomaleni"_s), u"1"_s);
        QVERIFY(w.findChild<QRadioButton*>(u"opRychlá"_s)->isChecked());
    }

    void optionButtons_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("expected");
        const struct {
            const char* caption;
            QString button, box, en, cs, arFa; // Arabic and Persian share U+066B
        } rows[] = {
            {"higher", u"op5"_s, u"nFi"_s, u"5"_s, u"5"_s, u"5"_s},
            {"high", u"op1"_s, u"nFi"_s, u"1"_s, u"1"_s, u"1"_s},
            {"middle", u"op06"_s, u"nFi"_s, u"0.6"_s, u"0,6"_s, u"0\u066B6"_s},
            {"low", u"op02"_s, u"nFi"_s, u"0.2"_s, u"0,2"_s, u"0\u066B2"_s},
            {"lower", u"op003"_s, u"nFi"_s, u"0.03"_s, u"0,03"_s, u"0\u066B03"_s},
            {"300", u"opV300"_s, u"nRozteč"_s, u"300"_s, u"300"_s, u"300"_s},
            {"350", u"opV350"_s, u"nRozteč"_s, u"350"_s, u"350"_s, u"350"_s},
            {"400", u"opV400"_s, u"nRozteč"_s, u"400"_s, u"400"_s, u"400"_s},
            {"Rychlá", u"opRychlá"_s, u"nSpomaleni"_s, u"1"_s, u"1"_s, u"1"_s},
        };
        for (const auto& r : rows) {
            QTest::addRow("%s, English", r.caption) << english << r.button << r.box << r.en;
            QTest::addRow("%s, Czech", r.caption) << czech << r.button << r.box << r.cs;
            QTest::addRow("%s, Arabic", r.caption) << arabic << r.button << r.box << r.arFa;
            QTest::addRow("%s, Persian", r.caption) << persian << r.button << r.box << r.arFa;
        }
    }

    void optionButtons() {
        QFETCH(QLocale, locale);
        QFETCH(QString, button);
        QFETCH(QString, box);
        QFETCH(QString, expected);
        QLocale::setDefault(locale);
        frmVelmora w;
        // Start from another button of the group and another text, so the click must write.
        auto* target = w.findChild<QRadioButton*>(button);
        for (auto* other : target->parentWidget()->findChildren<QRadioButton*>()) {
            if (other != target) {
                other->setChecked(true);
                break;
            }
        }
        w.findChild<QLineEdit*>(box)->setText(u"?"_s);
        target->click();
        QCOMPARE(text(w, box), expected);
        if (box == u"nFi") // and the run takes it for the button's preset
            QVERIFY(
                velmora::frequencyFor(velmora::qt::toUtf8(expected), velmora::qt::decimalPoint())
                    .stepLength > 0);
    }

    void scrollBar_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("count");
        QTest::newRow("0 after a move") << english << 0 << u"1"_s;
        QTest::newRow("1") << english << 1 << u"31"_s;
        QTest::newRow("1000") << english << 1000 << u"30001"_s;
        QTest::newRow("32767, the largest") << english << 32767 << u"983011"_s;
        QTest::newRow("32767 in Czech, no group separator") << czech << 32767 << u"983011"_s;
        QTest::newRow("5 in Arabic, ASCII digits") << arabic << 5 << u"151"_s;
        QTest::newRow("32767 in Persian, ASCII digits") << persian << 32767 << u"983011"_s;
    }

    void scrollBar() {
        QFETCH(QLocale, locale);
        QFETCH(int, value);
        QFETCH(QString, count);
        QLocale::setDefault(locale);
        frmVelmora w;
        auto* bar = w.findChild<QScrollBar*>(u"HScroll1"_s);
        bar->setValue(value == 0 ? 5 : 0);
        bar->setValue(value);
        QCOMPARE(text(w, u"nSpomaleni"_s), count);
        QCOMPARE(velmora::delayCountFor(velmora::qt::toUtf8(count)), std::uint32_t(value) * 30 + 1);
    }

    void scrollBarCountDependsOnValueOnly() {
        frmVelmora w;
        auto* bar = w.findChild<QScrollBar*>(u"HScroll1"_s);
        bar->setValue(500);
        const QString first = text(w, u"nSpomaleni"_s);
        bar->setValue(20000);
        bar->setValue(32767);
        bar->setValue(500);
        QCOMPARE(text(w, u"nSpomaleni"_s), first);
    }

    // One arrow click, one key press, one click in the trough: each moves the value by 1.
    void scrollBarSteps_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Right key") << u"key"_s;
        QTest::newRow("right arrow button") << u"arrow"_s;
        QTest::newRow("trough right of the thumb") << u"trough"_s;
    }

    void scrollBarSteps() {
        QFETCH(QString, how);
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* bar = w.findChild<QScrollBar*>(u"HScroll1"_s);
        bar->setValue(10);
        if (how == u"key") {
            bar->setFocus();
            QTest::keyClick(bar, Qt::Key_Right);
        } else {
            const QPoint at(how == u"arrow" ? bar->width() - 3 : bar->width() * 3 / 4,
                            bar->height() / 2);
            QTest::mousePress(bar, Qt::LeftButton, {}, at);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        }
        QCOMPARE(bar->value(), 11);
        QCOMPARE(text(w, u"nSpomaleni"_s), u"331"_s);
    }

    // PageUp and PageDown move by a tenth of the range; the tooltip and the accessible value
    // name the run's length at the new value.
    void speedBarPages_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("length");
        QTest::newRow("PageUp from the left end")
            << 0 << int(Qt::Key_PageUp) << 3277 << u"about 0.4 s"_s;
        QTest::newRow("PageDown at the left end")
            << 0 << int(Qt::Key_PageDown) << 0 << u"instant"_s;
        QTest::newRow("PageDown from the middle")
            << 19660 << int(Qt::Key_PageDown) << 16383 << u"about 2.0 s"_s;
        QTest::newRow("PageUp held at the right end")
            << 31000 << int(Qt::Key_PageUp) << 32767 << u"about 3.9 s"_s;
        QTest::newRow("Right key, still by 1") << 1 << int(Qt::Key_Right) << 2 << u"instant"_s;
        // The page says the same there: both read the core's rule.
        QTest::newRow("Right key to 500") << 499 << int(Qt::Key_Right) << 500 << u"about 0.1 s"_s;
    }

    void speedBarPages() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, value);
        QFETCH(QString, length);
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* bar = w.findChild<QScrollBar*>(u"HScroll1"_s);
        bar->setValue(from);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key(key));
        QCOMPARE(bar->value(), value);
        QCOMPARE(text(w, u"nSpomaleni"_s).toInt(), value * 30 + 1);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(iface->text(QAccessible::Value), length);
        QCOMPARE(iface->valueInterface()->currentValue().toInt(), value);
        QVERIFY2(bar->toolTip().contains(length == u"instant" ? u"at once"_s : length),
                 qPrintable(bar->toolTip()));
    }

    void exitEndsProgram_data() {
        QTest::addColumn<bool>("useExit");
        QTest::newRow("Exit button") << true;
        QTest::newRow("window closed") << false;
    }

    void exitEndsProgram() {
        QFETCH(bool, useExit);
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTimer::singleShot(0, &w, [&w, useExit] {
            if (useExit)
                w.findChild<QPushButton*>(u"cmdKonec"_s)->click();
            else
                w.close();
        });
        // Should the loop not end, the watchdog ends it with a code the test rejects.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestHandlers)
#include "tst_handlers.moc"
