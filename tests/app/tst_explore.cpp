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

#include <memory>

using namespace Qt::StringLiterals;
using velmora::Quantity;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

// The picture's pixels of the theory curve's colour.
int redPixels(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += line[x] == qRgb(255, 0, 0);
    }
    return count;
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

    void opensAtThePresets_data() {
        QTest::addColumn<QStringList>("options"); // clicked before Ctrl+E
        QTest::addColumn<QStringList>("texts");   // wavelength, aperture, distance
        QTest::addColumn<QString>("derived");
        QTest::newRow("defaults") << QStringList()
                                  << QStringList{u"550 nm"_s, u"8.754 µm"_s, u"8.754 µm"_s}
                                  << u"Aperture 15.92 λ, distance 15.92 λ, Fresnel number N = "
                                     u"3.979"_s;
        QTest::newRow("lower, 400")
            << QStringList{u"op003"_s, u"opV400"_s}
            << QStringList{u"18.3 µm"_s, u"8.754 µm"_s, u"13.13 µm"_s}
            << u"Aperture 0.4775 λ, distance 0.7162 λ, Fresnel number N = 0.07958"_s;
    }
    void opensAtThePresets() {
        QFETCH(QStringList, options);
        QFETCH(QStringList, texts);
        QFETCH(QString, derived);
        for (const QString& option : options)
            m_window->findChild<QRadioButton*>(option)->click();
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        QVERIFY(m_window->exploring());
        const Quantity order[] = {Quantity::Wavelength, Quantity::ApertureWidth,
                                  Quantity::DetectorDistance};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(fieldText(order[i]), texts[i]);
        QCOMPARE(panel->derived()->text(), derived);
        QVERIFY(!panel->theoryCurve()->isChecked()); // off until asked for
        // The keyboard starts on the first slider and goes through the rows, then the rest.
        QCOMPARE(QApplication::focusWidget(), panel->slider(Quantity::Wavelength));
        QList<QWidget*> stops{panel->field(Quantity::Wavelength),
                              panel->slider(Quantity::ApertureWidth),
                              panel->field(Quantity::ApertureWidth),
                              panel->slider(Quantity::DetectorDistance),
                              panel->field(Quantity::DetectorDistance),
                              panel->theoryCurve(),
                              panel->startButton()};
        for (QWidget* next : stops) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Ctrl+E again, from the panel, closes it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
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
        QVERIFY(iface->valueInterface());
    }

    // Typed text is read in the locale's form, with a unit; what is wrong is said, and loses
    // nothing.
    void typedValues_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // the field afterwards
        QTest::addColumn<QString>("error"); // part of the message; empty: none
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        QTest::newRow("aperture in micrometres")
            << english << Quantity::ApertureWidth << u"5um"_s << u"5.000 µm"_s << QString();
        QTest::newRow("more digits than shown")
            << english << Quantity::Wavelength << u"612.34 nm"_s << u"612 nm"_s << QString();
        QTest::newRow("decimal comma")
            << czech << Quantity::Wavelength << u"0,6 µm"_s << u"600 nm"_s << QString();
        QTest::newRow("a bare number") << english << Quantity::Wavelength << u"550"_s << u"550"_s
                                       << u"The wavelength has no unit"_s;
        QTest::newRow("beyond the plot") << english << Quantity::DetectorDistance << u"20 µm"_s
                                         << u"20 µm"_s << u"it must be from 1.2 µm to 13.2 µm."_s;
    }
    void typedValues() {
        QFETCH(QLocale, locale);
        QFETCH(Quantity, quantity);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, error);
        QLocale::setDefault(locale);
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        const velmora::ExploreValues before = panel->values();
        const int position = panel->slider(quantity)->value();
        QLineEdit* field = panel->field(quantity);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), shown);
        QCOMPARE(panel->message()->isVisible(), !error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY(panel->slider(quantity)->value() != position);
            return;
        }
        QVERIFY2(panel->message()->text().contains(error), qPrintable(panel->message()->text()));
        QCOMPARE(panel->slider(quantity)->value(), position);
        const velmora::ExploreValues after = panel->values();
        QCOMPARE(after.wavelength, before.wavelength);
        QCOMPARE(after.distance, before.distance);
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
        QVERIFY(redPixels(m_window->picture()) > 100);
        QVERIFY(m_window->picture() != plain.picture());

        QTest::keyClick(panel, Qt::Key_Escape);
        QVERIFY(!m_window->exploring());
        m_window->cmdStart->click();
        QCOMPARE(redPixels(m_window->picture()), 0);
        QVERIFY(m_window->picture() == plain.picture());
        QCOMPARE(m_window->description(), plain.description());
    }

    // While the panel is open, a preset chosen moves its value there and leaves the others.
    void presetsChosenWhileOpen() {
        ExplorePanel* panel = openWithKeys();
        QVERIFY(panel);
        panel->setValue(Quantity::ApertureWidth, 3000);
        m_window->op003->click();
        QCOMPARE(fieldText(Quantity::Wavelength), u"18.3 µm"_s);
        m_window->opV300->click();
        QCOMPARE(fieldText(Quantity::DetectorDistance), u"4.377 µm"_s);
        QCOMPARE(fieldText(Quantity::ApertureWidth), u"13.13 µm"_s);
    }
};

QTEST_MAIN(TestExplore)
#include "tst_explore.moc"
