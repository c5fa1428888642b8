// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The form's controls painted from the core's table with the platform's style, as the window
// shows them but without a widget, so that a picture file needs no more than painting text
// needs. The window places its widgets with the same geometry and fonts.
#pragma once

#include "form.h"

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QRect>
#include <QSet>
#include <QString>

class QPainter;

// The controls at one moment: which are shown, where the run moved its labels, which option
// buttons are selected, the speed bar's value, and the keyboard focus.
struct FormState {
    QSet<QString> shown;
    QHash<QString, QPointF> moved; // twips, from the container's corner
    QSet<QString> selected;
    int speed = 0;
    QString focus;              // the control that has the focus, if any
    bool keyboardFocus = false; // a key moved it there, which some styles mark more
    bool active = true;         // the window is the active one

    // As loading leaves the window, the focus on Start.
    static FormState loaded();
    // Selects an option button and clears the others of its frame.
    void select(const QString& option);
    // Shows a result label where the run placed it.
    void showLabel(const QString& label, QPointF twips);
};

// The only conversion from layout units to Qt's logical pixels; the zoom is its one factor.
// Held within int: a label accepted at one zoom may lie beyond a pixel at a larger one.
int toPixels(double twips, double zoom);
// A font of the table at the zoom; one without a face is the window font.
QFont toQFont(const velmora::form::Font& font, double zoom);
// Where the control lies in its container at the zoom, its corner at `twips`. A label's box
// grows when its caption needs more room at the zoom's font, which does not scale exactly.
QRect controlRect(const velmora::form::Control& control, QPointF twips, double zoom);

// Paints the shown controls in layout order over what the painter holds, from the client
// area's corner.
void paintForm(QPainter& painter, const FormState& form, double zoom);
