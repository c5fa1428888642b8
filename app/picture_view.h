// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture a run draws, as a widget after Qt's Scribble example: it owns the canvas and
// paints it where the zoom puts it, keeps it by copying, saving and printing from its keys or
// its context menu, and offers it to screen readers as an image with a description of the
// last run. The window is one: its client area is the picture, with the controls over it.
#pragma once

#include "form_painter.h"
#include "parameter_store.h"
// moc cannot read the core's accented names, and needs none of them.
#ifndef Q_MOC_RUN
#include "start_action.h"
#endif

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QPrinter;

namespace velmora {
class Canvas;
}

class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);
    ~PictureView() override;

    // The picture as drawn so far, at the device pixel ratio it was made for; null before
    // the first run.
    QImage picture();
    QString description() const { return m_description; }
    void setDescription(const QString& description);
    double zoom() const { return m_zoom; }
    // Where the picture lies: all of the view, but for a margin in full screen.
    QRect clientArea() const;

    // The client area as it shows, with the controls over the picture, copied to the clipboard
    // as an image, saved as PNG or SVG through a file dialog, or printed to fit the page.
    QImage clientImage();
    void copyPicture();
    void savePicture();
    bool savePictureAs(const QString& path, QString* error);
    void printPicture();
    void printPicture(QPrinter& printer);

protected:
    // The canvas for a run with these presets and Explore's settings, which are kept to draw
    // the picture again at another zoom and into files. Allocated at the first run: a failure
    // is a run-time error.
    velmora::Canvas& canvasFor(const velmora::ParameterStore& presets,
                               const velmora::ExploreSettings& explore = {});
    virtual std::unique_ptr<velmora::Canvas> createCanvas();
    // Shows what the canvas holds that is not shown yet: what a stopped run drew.
    void showDrawn();
    // The run drawn was stopped after so many scan steps: it is drawn again up to there.
    void drawnUpTo(int steps) { m_drawnSteps = steps; }
    // At a new zoom, the last run drawn again at the new scale.
    void redrawPicture();
    // After each repaint a run's step asks for, while the run goes on.
    virtual void presented() {}
    // What lies over the picture in a saved file.
    virtual FormState formState() const { return {}; }

    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    QList<QAction*> m_menu; // the context menu; null: a separator
    double m_zoom = 1;      // twips to pixels: one factor
    QPoint m_origin;        // the client area's corner: away from 0 only in full screen

private:
    void setPresenter();

    std::unique_ptr<velmora::Canvas> m_canvas;
    std::optional<velmora::ParameterStore> m_drawn;
    int m_drawnSteps = 0;
    velmora::ExploreSettings m_drawnExplore;
    QString m_description;
    QObject* m_accessible; // the picture as a screen reader finds it
};
