// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the window offers a screen reader beyond Qt's defaults: the drawn picture as an object
// of its own, a spoken summary when a run ends, the presets' text boxes out of reach, each
// group named once, and Enter on a focused button.
#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>

class QAbstractButton;
class QRadioButton;
class QScrollBar;
class QWidget;

// Registers the window's accessible interfaces; call before any is queried.
void installVelmoraAccessibility();

// The picture the Start action draws on the window's client area. Lives as a plain QObject
// child of the window: it takes no input and paints nothing.
class VelmoraPicture : public QObject {
    Q_OBJECT

public:
    explicit VelmoraPicture(QWidget* window);
    QString description() const { return m_description; }
    void setDescription(const QString& description);
    // Where it lies in the window; empty: the whole window.
    QRect area() const { return m_area; }
    void setArea(const QRect& area) { m_area = area; }

private:
    QString m_description;
    QRect m_area;
};

// Tells the listener that a run has ended: a notification that shows with the summary as its
// text, which Orca speaks wherever the focus is.
class VelmoraAnnouncer : public QObject {
    Q_OBJECT

public:
    explicit VelmoraAnnouncer(QWidget* window);
    QString text() const { return m_text; }
    bool isShown() const { return m_shown; }
    void announce(const QString& text);

private:
    QString m_text;
    bool m_shown = false;
};

// The focus ring of every control: navy, at least 7:1 against the window's grey and the
// buttons' faces.
inline const QColor focusRingColour(0x00, 0x00, 0x99);

// Draws the control's focus as a solid two-pixel ring in focusRingColour, whether or not the
// focus came from the keyboard, so Start's focus shows from the first frame.
void showFocusRing(QWidget* control);

// Enter and Return press the button while it has the focus, as Space does.
void pressOnEnter(QAbstractButton* button);

// The speed scroll bar. It frames itself while it has the keyboard focus, as the platform
// styles draw no focus for scroll bars; PageUp and PageDown move it by a tenth of its range
// (clicks still move it by 1); its tooltip and accessible value name a run's length.
QScrollBar* makeSpeedBar(QWidget* parent);

// How long a run's waits last at a speed bar value: "instant", "about 2.0 s".
QString describeRunLength(int speedBarValue);

// Arrow keys move through the button's option group in caption order, top to bottom.
void arrowsInCaptionOrder(QRadioButton* option);

// The property that marks the hidden text boxes of the presets.
inline constexpr char parameterStoreProperty[] = "velmoraParameterStore";
// The property that marks the speed bar.
inline constexpr char speedBarProperty[] = "velmoraSpeedBar";
