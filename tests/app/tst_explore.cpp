// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Explore panel in the real window: Ctrl+E opens it at the presets' values, its sliders
// and number fields say and take lengths with their units, in the locale's form, Start runs
// its values with the theory curve, and closing it returns the window to the presets exactly.
#include "explore_panel.h"
#include "frm_velmora.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using velmora::Quantity;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

// Whether the picture shows the theory curve's colour anywhere.
bool showsRed(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return std::count(pixels, pixels + image.width() * image.height(), qRgb(255, 0, 0)) > 0;
}

} // namespace

class TestExplore : public QObject {
    Q_OBJECT

    std::unique_ptr<frmVelmora> m_window;

    ExplorePanel* openWithKeys() {
        QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
        // qWaitForWindowActive takes the window that opened it, which stays active, for it.
        ExplorePanel* panel = m_window->explorePanel();
        if (panel && QTest::qWaitFor([&] { return QApplication::activeWindow() == panel; }))
            return panel;
        return nullptr;
    }
    QString fieldText(Quantity q) { return m_window->explorePanel()->field(q)->text(); }

private slots:
    void init() {
        QLocale::setDefault(english);
        m_window = std::make_unique<frmVelmora>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Ctrl+E opens it at the presets' values, the keyboard on its first slider.
    void opensAtThePresets() {
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        QVERIFY(m_window->exploring());
        QCOMPARE(fieldText(Quantity::Wavelength), u"550 nm"_s);
        QCOMPARE(fieldText(Quantity::DetectorDistance), u"8.754 µm"_s);
        QCOMPARE(panel->derived()->text(),
                 u"Aperture 15.92 λ, distance 15.92 λ, Fresnel number N = 3.979"_s);
        QVERIFY(!panel->theoryCurve()->isChecked()); // off until asked for
        QCOMPARE(QApplication::focusWidget(), panel->slider(Quantity::Wavelength));
        for (QWidget* next : {static_cast<QWidget*>(panel->field(Quantity::Wavelength)),
                              static_cast<QWidget*>(panel->slider(Quantity::ApertureWidth))}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // A preset chosen while it is open moves its value there and leaves the others.
        panel->setValue(Quantity::ApertureWidth, 3000);
        m_window->op003->click();
        QCOMPARE(fieldText(Quantity::Wavelength), u"18.3 µm"_s);
        QCOMPARE(fieldText(Quantity::ApertureWidth), u"13.13 µm"_s);
        // Ctrl+E again, from the panel, closes it.
        QTest::keyClick(panel, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(!m_window->exploring());
    }

    // A screen reader hears each slider by its name, and its value as a length with its unit.
    void slidersSayTheirValues_data() {
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("home"); // the range's ends
        QTest::addColumn<QString>("end");
        QTest::newRow("wavelength")
            << Quantity::Wavelength << u"Wavelength"_s << u"5.00 nm"_s << u"20.0 µm"_s;
        QTest::newRow("aperture") << Quantity::ApertureWidth << u"Aperture width"_s << u"1.000 µm"_s
                                  << u"17.50 µm"_s;
        QTest::newRow("distance") << Quantity::DetectorDistance << u"Detector distance"_s
                                  << u"1.200 µm"_s << u"13.20 µm"_s;
    }
    void slidersSayTheirValues() {
        QFETCH(Quantity, quantity);
        QFETCH(QString, name);
        QFETCH(QString, home);
        QFETCH(QString, end);
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        QSlider* slider = panel->slider(quantity);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(slider);
        QCOMPARE(iface->role(), QAccessible::Slider);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY(iface->text(QAccessible::Description).startsWith(u"from "));
        for (const auto& [key, said] :
             {std::pair{Qt::Key_Home, home}, std::pair{Qt::Key_End, end}}) {
            QTest::keyClick(slider, key);
            QCOMPARE(iface->text(QAccessible::Value), said);
            QCOMPARE(panel->field(quantity)->text(), said);
        }
    }

    // Typed text is read in the locale's form, with a unit; what is wrong is said, and loses
    // nothing.
    void typedValues_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed"); // a wavelength
        QTest::addColumn<QString>("shown"); // the field afterwards
        QTest::addColumn<QString>("error"); // part of the message; empty: none
        QTest::newRow("more digits than shown")
            << english << u"612.34 nm"_s << u"612 nm"_s << QString();
        QTest::newRow("decimal comma") << QLocale(QLocale::Czech, QLocale::CzechRepublic)
                                       << u"0,6 µm"_s << u"600 nm"_s << QString();
        QTest::newRow("a bare number")
            << english << u"550"_s << u"550"_s << u"The wavelength has no unit"_s;
    }
    void typedValues() {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, error);
        QLocale::setDefault(locale);
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        const double before = panel->values().wavelength;
        QLineEdit* field = panel->field(Quantity::Wavelength);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), shown);
        QCOMPARE(panel->message()->isVisible(), !error.isEmpty());
        QVERIFY(panel->message()->text().contains(error));
        QCOMPARE(panel->values().wavelength == before, !error.isEmpty());
    }

    // Start runs the panel's values, with the theory curve; closed, the presets run exactly as
    // in a window that never opened it.
    void startRunsItsValuesUntilClosed() {
        frmVelmora plain;
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        plain.cmdStart->click();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        panel->setValue(Quantity::ApertureWidth, 5000 / 4.3768);
        panel->theoryCurve()->setChecked(true);
        panel->startButton()->click();
        QVERIFY2(m_window->description().startsWith(
                     u"Drawn with wavelength 550 nm, aperture width 5.000 µm and detector "
                     u"distance 8.754 µm."_s),
                 qPrintable(m_window->description()));
        QVERIFY(showsRed(m_window->picture()));
        QVERIFY(m_window->picture() != plain.picture());

        QTest::keyClick(panel, Qt::Key_Escape);
        QVERIFY(!m_window->exploring());
        m_window->cmdStart->click();
        QVERIFY(m_window->picture() == plain.picture());
        QCOMPARE(m_window->description(), plain.description());
    }
};

QTEST_MAIN(TestExplore)
#include "tst_explore.moc"
