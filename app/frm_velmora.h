// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: 27 controls laid out in twips over the picture the Start action draws,
// and the handlers those controls raise.
#pragma once

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCloseEvent;
class QContextMenuEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollBar;
class RunHold;
class VelmoraAnnouncer;
class VelmoraPicture;

namespace velmora {
class Canvas;
}

// Call before the QApplication exists. A slow run repaints a thin strip 221 times; with X11
// shared-memory images each repaint waits for the server to release the segment, which
// doubles a visible run, while a plain image request for a strip that small waits for nothing.
void prepareWindowSystem();

class frmVelmora : public QWidget {
    Q_OBJECT

public:
    // Builds the layout, then raises Form_Load.
    explicit frmVelmora(QWidget* parent = nullptr);
    ~frmVelmora() override;

    // The controls, in layout order.
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* frmAnimace = nullptr;
    QRadioButton* opPomalá = nullptr;
    QRadioButton* OpPomalejší = nullptr;
    QRadioButton* opRychlá = nullptr;
    QLineEdit* nSpomaleni = nullptr;
    QLineEdit* nRozteč = nullptr;
    QGroupBox* frmVzdalenost = nullptr;
    QRadioButton* opV400 = nullptr;
    QRadioButton* opV300 = nullptr;
    QRadioButton* opV350 = nullptr;
    QLineEdit* nFi = nullptr;
    QGroupBox* frmFrekvence = nullptr;
    QRadioButton* op003 = nullptr;
    QRadioButton* op5 = nullptr;
    QRadioButton* op02 = nullptr;
    QRadioButton* op06 = nullptr;
    QRadioButton* op1 = nullptr;
    QPushButton* cmdKonec = nullptr;
    QPushButton* cmdStart = nullptr;
    QLabel* labPravděpodobnost = nullptr;
    QLabel* LabStart = nullptr;
    QLabel* labDetektorB = nullptr;
    QLabel* labDetektorA = nullptr;
    QLabel* labZdroj = nullptr;
    QLabel* labClona = nullptr;
    QLabel* labNeurcitost = nullptr;

    void Form_Load();
    void op5_Click();
    void op1_Click();
    void op06_Click();
    void op02_Click();
    void op003_Click();
    void opV300_Click();
    void opV350_Click();
    void opV400_Click();
    void opRychlá_Click();
    void HScroll1_Change();
    void cmdKonec_Click();
    void cmdStart_Click();

    // The picture as drawn so far, at the device pixel ratio it was made for; null before
    // the first run.
    QImage picture();

    // The whole window at once: Ctrl++, Ctrl+- and Ctrl+0 step it from 100 % to 300 % and it
    // is remembered between starts; F11 fills the screen at the largest zoom that fits.
    double zoom() const { return m_zoom; }
    // Where the picture lies in the window: all of it, but for a margin in full screen.
    QRect clientArea() const;
    void zoomIn();
    void zoomOut();
    void resetZoom();
    void restoreZoom(); // the zoom of the last window
    void setFullScreen(bool on);

    // The picture kept: the client area as the run left it, with its labels, copied to the
    // clipboard as an image, saved as PNG or SVG through a file dialog, or printed to fit the
    // page. Also in the picture's context menu.
    QImage clientImage();
    void copyPicture();
    void savePicture();
    bool savePictureAs(const QString& path, QString* error);
    void printPicture();
    void printPicture(QPrinter& printer);

    // What the last Start read and drew, so files can show that run and not later presets.
    struct RunRecord {
        QString fi, rozteč;              // the frequency and distance texts it ran with
        std::vector<double> intensities; // its bars in twips, bottom up; empty if it stopped
    };
    const std::optional<RunRecord>& lastRun() const { return m_lastRun; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // During a run a close request waits for its end: nothing is destroyed under a run.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Allocated at the first Start, so a failure is a run-time error the window survives.
    virtual std::unique_ptr<velmora::Canvas> createCanvas();

private:
    void buildControls();
    void connectHandlers();
    void run();
    void setPresenter();
    void createActions();
    // Twips, from the client area's corner or a frame's, to the window's pixels at the zoom.
    QRect toWindow(const QRectF& twips, bool inWindow) const;
    void placeControl(QWidget* control);
    void placeResultLabel(QLabel* label, QPointF twips);
    void applyZoom();
    void setZoomPercent(int percent);
    // At a new zoom, the last run drawn again at the new scale.
    void redrawPicture();

    static inline const QString appName = QStringLiteral("Velmora");

    std::unique_ptr<velmora::Canvas> m_canvas;
    std::optional<RunRecord> m_lastRun;
    VelmoraPicture* m_picture = nullptr;     // the drawing, for screen readers
    VelmoraAnnouncer* m_announcer = nullptr; // speaks each run's summary
    RunHold* m_hold = nullptr;               // input that comes during a run
    QList<QAction*> m_menu;                  // the picture's context menu; null: a separator

    int m_zoomPercent = 100; // the step the keys have chosen
    double m_zoom = 1;       // in effect: the step, or what fits the screen when full
    QPoint m_origin;         // the client area's corner: away from 0 only in full screen
};
