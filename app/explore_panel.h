// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Explore panel, a window beside the main window: the wavelength, the aperture's width and
// the detector's distance chosen freely, each with a slider and a number field with its unit,
// the values they give, and the theory curve. While it is open, Start runs its values.
#pragma once

// moc cannot read the core's accented names, and needs none of them.
#ifndef Q_MOC_RUN
#include "start_action.h"
#include "units.h"
#endif

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

class ExplorePanel : public QDialog {
    Q_OBJECT

public:
    explicit ExplorePanel(QWidget* window);
    ~ExplorePanel() override;

    // Shows the panel with these values, beside its window the first time.
    void openAt(const velmora::ExploreValues& values);
    const velmora::ExploreValues& values() const { return m_values; }
    // Held to its range and to the digits the panel shows, so that it runs what it says.
    void setValue(velmora::Quantity quantity, double twips);
    // What Start runs while the panel is open.
    velmora::ExploreSettings settings() const;

    QSlider* slider(velmora::Quantity quantity) const;
    QLineEdit* field(velmora::Quantity quantity) const;
    QCheckBox* theoryCurve() const { return m_theory; }
    QLabel* derived() const { return m_derived; }
    QLabel* message() const { return m_message; }
    QPushButton* startButton() const { return m_start; }

signals:
    void startPressed();

private:
    struct Row {
        QSlider* slider;
        QLineEdit* field;
    };
    const Row& row(velmora::Quantity quantity) const;
    void readField(velmora::Quantity quantity);
    void showValue(velmora::Quantity quantity);
    void say(const QString& text);

    velmora::ExploreValues m_values;
    std::array<Row, 3> m_rows{};
    QLabel* m_derived = nullptr;
    QLabel* m_message = nullptr; // what was wrong with the last text typed
    QCheckBox* m_theory = nullptr;
    QPushButton* m_start = nullptr;
    bool m_placed = false;
};
