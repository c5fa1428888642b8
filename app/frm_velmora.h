// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: the 27 controls of the core's form table laid out over the picture the
// Start action draws, and the handlers those controls raise.
#pragma once

#include "picture_view.h"
// moc cannot read the label names, and needs none of them.
#ifndef Q_MOC_RUN
#include "result_labels.h"
#endif

class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Announcer;
class ExplorePanel;
class RunHold;
class QScrollBar;

namespace velmora {
struct RunResult;
}

// Call before the QApplication exists. A slow run repaints a thin strip 221 times; with X11
// shared-memory images each repaint waits for the server to release the segment, which
// doubles a visible run, while a plain image request for a strip that small waits for nothing.
void prepareWindowSystem();

// The controls in layout order, each with the class it is made of.
// clang-format off
#define VELMORA_CONTROLS(X) \
    X(QScrollBar, HScroll1) \
    X(QGroupBox, frmAnimace) X(QRadioButton, opPomalá) X(QRadioButton, OpPomalejší) \
    X(QRadioButton, opRychlá) X(QLineEdit, nSpomaleni) X(QLineEdit, nRozteč) \
    X(QGroupBox, frmVzdalenost) X(QRadioButton, opV400) X(QRadioButton, opV300) \
    X(QRadioButton, opV350) X(QLineEdit, nFi) \
    X(QGroupBox, frmFrekvence) X(QRadioButton, op003) X(QRadioButton, op5) \
    X(QRadioButton, op02) X(QRadioButton, op06) X(QRadioButton, op1) \
    X(QPushButton, cmdKonec) X(QPushButton, cmdStart) X(QLabel, labPravděpodobnost) \
    X(QLabel, LabStart) X(QLabel, labDetektorB) X(QLabel, labDetektorA) X(QLabel, labZdroj) \
    X(QLabel, labClona) X(QLabel, labNeurcitost)
// clang-format on

class frmVelmora : public PictureView, private velmora::LabelBoard {
    Q_OBJECT

public:
    // Builds the layout, then raises Form_Load.
    explicit frmVelmora(QWidget* parent = nullptr);
    ~frmVelmora() override;

    void Form_Load();
    // Each writes what the form says its button writes.
    void op5_Click() { writePreset(op5); }
    void op1_Click() { writePreset(op1); }
    void op06_Click() { writePreset(op06); }
    void op02_Click() { writePreset(op02); }
    void op003_Click() { writePreset(op003); }
    void opV300_Click() { writePreset(opV300); }
    void opV350_Click() { writePreset(opV350); }
    void opV400_Click() { writePreset(opV400); }
    void opRychlá_Click() { writePreset(opRychlá); }
    void HScroll1_Change();
    void cmdKonec_Click();
    void cmdStart_Click();

#define VELMORA_MEMBER(Class, name) Class* name = nullptr;
    VELMORA_CONTROLS(VELMORA_MEMBER)
#undef VELMORA_MEMBER

    // The whole window at once: Ctrl++, Ctrl+- and Ctrl+0 step it from 100 % to 300 %, as far as
    // the screen holds it, and it is remembered between starts; F11 fills the screen at the
    // largest zoom that fits.
    void zoomIn();
    void zoomOut();
    void resetZoom();
    void restoreZoom(); // the zoom of the last window
    void setFullScreen(bool on);

    // The ParameterStore's texts as the hidden text boxes hold them.
    velmora::ParameterStore parameterStore() const;

    // Ctrl+E: the Explore panel, which opens at the presets' values. While it is open, Start
    // runs its values and a preset chosen moves its value there; closed, the presets run again.
    void toggleExplore();
    void openExplore();
    bool exploring() const;
    ExplorePanel* explorePanel() const {
        return m_explore;
    }

signals:
    // A run has ended, finished, stopped or failed, and the input it held is on its way.
    void runEnded();

protected:
    // During a run a close request waits for its end: nothing is destroyed under a run.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void presented() override;
    FormState formState() const override;

private:
    void buildControls();
    void connectHandlers();
    void writePreset(QRadioButton* option);
    velmora::RunResult run();
    void createActions();
    void createExploreAction();
    void exploreTakesPreset(const std::string& box);
    velmora::ExploreSettings exploreSettings() const;
    void placeControl(QWidget* control);
    // The result labels the run places: shown, then moved, in twips.
    void showLabel(velmora::ResultLabel label, float left, float top) override;
    void applyZoom();
    void setZoomPercent(int percent);

    Announcer* m_announcer = nullptr;  // speaks each run's summary
    RunHold* m_hold = nullptr;         // input that comes during a run
    ExplorePanel* m_explore = nullptr; // made when first opened
    QAction* m_exploreAction = nullptr;

    int m_zoomPercent = 100; // the step the keys have chosen
    // Asked for with F11, whatever state the window manager reports.
    bool m_fullScreen = false;
};
