// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a screen reader meets it through QAccessible: roles, names and descriptions,
// the picture and its summary, the spoken notice at the end of a run, the presets out of
// reach, Enter on the buttons and the speed bar's focus frame.
#include "frm_velmora.h"
#include "message_box_closer.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString defaultSummary =
    u"Drawn with frequency middle and distance 350. The intensity pattern along the detector "
    u"has 4 maxima. The strongest are two equal maxima, symmetric about the optical axis, 10% of "
    u"the detector's height above and below it. The others reach 91% of them."_s;

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    std::unique_ptr<frmVelmora> m_window;

    QAccessibleInterface* windowIface() const {
        return QAccessible::queryAccessibleInterface(m_window.get());
    }
    // Children as a listener walks them from the window.
    QAccessibleInterface* reachable(const QString& objectName) const {
        QAccessibleInterface* w = windowIface();
        for (int i = 0; i < w->childCount(); ++i) {
            QAccessibleInterface* c = w->child(i);
            if (c->object()->objectName() == objectName)
                return c;
            for (int j = 0; j < c->childCount(); ++j) {
                if (c->child(j)->object()->objectName() == objectName)
                    return c->child(j);
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() {
        m_window = std::make_unique<frmVelmora>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void roles_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("window is a frame") << u"frmVelmora"_s << QAccessible::Window
                                           << u"Velmora - www.velmora.example.org"_s << QString();
        QTest::newRow("picture before a run")
            << u"picture"_s << QAccessible::Graphic << u"Diffraction picture"_s
            << u"No picture has been drawn yet. Press Start to run the simulation."_s;
        QTest::newRow("speed bar says which way is slower")
            << u"HScroll1"_s << QAccessible::ScrollBar << u"Animation speed"_s
            << u"Moving right slows the run: at the left end it draws at once, at the right end it "
               u"takes about 4 seconds."_s;
        QTest::newRow("frequency group")
            << u"frmFrekvence"_s << QAccessible::Grouping << u"Frequency"_s << QString();
        QTest::newRow("option") << u"op06"_s << QAccessible::RadioButton << u"middle"_s
                                << QString();
        QTest::newRow("start") << u"cmdStart"_s << QAccessible::Button << u"Start"_s << QString();
    }
    void roles() {
        QFETCH(QString, object);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QAccessibleInterface* iface = object == u"frmVelmora" ? windowIface() : reachable(object);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Description), description);
        // The tree holds together both ways.
        if (QAccessibleInterface* parent = iface->parent(); parent && iface != windowIface())
            QCOMPARE(parent->child(parent->indexOfChild(iface)), iface);
    }

    // The frame around an option names the group; the option must not repeat it as a label.
    void optionsAreNotLabelledByTheirFrame() {
        QAccessibleInterface* option = reachable(u"op06"_s);
        QVERIFY(option->relations(QAccessible::Label).isEmpty());
        QVERIFY(option->state().checked);
    }

    void pictureCoversTheClientArea() {
        QAccessibleInterface* picture = reachable(u"picture"_s);
        QCOMPARE(picture->rect(), QRect(m_window->mapToGlobal(QPoint(0, 0)), m_window->size()));
        // Controls lie over it, and hit-testing finds them first.
        const QPoint onStart =
            m_window->findChild<QWidget*>(u"cmdStart"_s)->mapToGlobal(QPoint(3, 3));
        QCOMPARE(windowIface()->childAt(onStart.x(), onStart.y())->object()->objectName(),
                 u"cmdStart"_s);
        const QPoint empty = m_window->mapToGlobal(QPoint(600, 500));
        QCOMPARE(windowIface()->childAt(empty.x(), empty.y()), picture);
    }

    void runIsDescribedAndAnnounced() {
        QAccessibleInterface* picture = reachable(u"picture"_s);
        QAccessibleInterface* notice = reachable(u"announcer"_s);
        QVERIFY(notice->state().invisible);
        // The events that make Orca speak it are checked through AT-SPI (screen_reader_run.py).
        m_window->cmdStart_Click();
        QCOMPARE(picture->text(QAccessible::Description), defaultSummary);
        QCOMPARE(notice->role(), QAccessible::Notification);
        QCOMPARE(notice->text(QAccessible::Name), defaultSummary);
        QVERIFY(!notice->state().invisible);
    }

    // A stopped run leaves a part of a picture; the last summary must not stand for it.
    void stoppedRunIsNotSummarised() {
        m_window->cmdStart_Click();
        m_window->findChild<QLineEdit*>(u"nRozteč"_s)->setText(u"abc"_s);
        MessageBoxCloser closer;
        m_window->cmdStart_Click();
        QCOMPARE(
            reachable(u"picture"_s)->text(QAccessible::Description),
            u"The last run stopped: Run-time error '13': Type mismatch. The picture is incomplete."_s);
    }

    void hiddenInternalsOutOfReach_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("nFi") << u"nFi"_s;
        QTest::newRow("nRozteč") << u"nRozteč"_s;
        QTest::newRow("nSpomaleni") << u"nSpomaleni"_s;
        QTest::newRow("frmAnimace") << u"frmAnimace"_s;
        QTest::newRow("opRychlá") << u"opRychlá"_s;
    }
    void hiddenInternalsOutOfReach() {
        QFETCH(QString, name);
        QVERIFY(!reachable(name));
        auto* box = m_window->findChild<QLineEdit*>(name);
        if (!box)
            return;
        const QString before = box->text();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
        QVERIFY(!iface->editableTextInterface());
        iface->setText(QAccessible::Value, u"x"_s);
        QCOMPARE(box->text(), before);
        QVERIFY(iface->state().readOnly);
        QVERIFY(box->isReadOnly()); // nor through the widget, by input method or paste
    }

    void enterPressesButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("Return on Start") << u"cmdStart"_s << int(Qt::Key_Return);
        QTest::newRow("Enter on Start") << u"cmdStart"_s << int(Qt::Key_Enter);
        QTest::newRow("Return on Exit") << u"cmdKonec"_s << int(Qt::Key_Return);
        QTest::newRow("Enter on Exit") << u"cmdKonec"_s << int(Qt::Key_Enter);
    }
    void enterPressesButtons() {
        QFETCH(QString, button);
        QFETCH(int, key);
        auto* target = m_window->findChild<QPushButton*>(button);
        target->setFocus();
        QSignalSpy clicked(target, &QPushButton::clicked);
        QTest::keyClick(target, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicked.count(), 1);
        // Modified, it is left to the window.
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(clicked.count(), 1);
    }

    void focusRing_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("Start, from the first frame") << u"cmdStart"_s;
        QTest::newRow("Exit") << u"cmdKonec"_s;
        QTest::newRow("option") << u"opV350"_s;
        QTest::newRow("speed bar") << u"HScroll1"_s;
    }
    // A navy ring while focused, at least 3:1 against what lies most often beside it.
    void focusRing() {
        QFETCH(QString, control);
        auto* target = m_window->findChild<QWidget*>(control);
        while (QApplication::focusWidget() != target)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QRgb ring = qRgb(0, 0, 0x99);
        const auto ringAndBeside = [target, ring] {
            const QImage image = target->grab().toImage();
            int pixels = 0;
            QHash<QRgb, int> beside;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) != ring)
                        continue;
                    ++pixels;
                    for (const QPoint n : {QPoint(x + 1, y), QPoint(x - 1, y), QPoint(x, y + 1)})
                        ++beside[image.valid(n) ? image.pixel(n) : ring];
                }
            }
            beside.remove(ring);
            const auto most = std::max_element(beside.keyValueBegin(), beside.keyValueEnd(),
                                               [](auto a, auto b) { return a.second < b.second; });
            return std::pair(pixels, beside.isEmpty() ? ring : most->first);
        };
        const auto [pixels, beside] = ringAndBeside();
        QVERIFY2(pixels >= 2 * std::min(target->width(), 40) + target->height(),
                 qPrintable(QString::number(pixels)));
        const auto luminance = [](QRgb c) { // of sRGB, as contrast ratios count it
            const auto linear = [](int v) {
                return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) +
                   0.0722 * linear(qBlue(c));
        };
        QVERIFY((luminance(beside) + 0.05) / (luminance(ring) + 0.05) >= 3);
        m_window->findChild<QWidget*>(control == u"cmdKonec" ? u"cmdStart"_s : u"cmdKonec"_s)
            ->setFocus();
        QCOMPARE(ringAndBeside().first, 0);
    }

    // The platform styles draw no focus on a scroll bar; this one frames its edge.
    void speedBarShowsFocus() {
        auto* bar = m_window->findChild<QScrollBar*>();
        const QColor highlight = bar->palette().color(QPalette::Active, QPalette::Highlight);
        auto edge = [bar] {
            const QImage image = bar->grab().toImage();
            return image.pixelColor(0, image.height() / 2);
        };
        QVERIFY(edge() != highlight);
        bar->setFocus(Qt::TabFocusReason);
        QVERIFY(bar->hasFocus());
        QCOMPARE(edge(), highlight);
        const QImage framed = bar->grab().toImage();
        QCOMPARE(framed.pixelColor(framed.width() / 2, 1), highlight);
        QCOMPARE(framed.pixelColor(framed.width() - 1, framed.height() / 2), highlight);
        m_window->findChild<QPushButton*>(u"cmdStart"_s)->setFocus();
        QVERIFY(edge() != highlight);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
