// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "speed_bar.h"

#include "core_text.h"
#include "form.h"
#include "key_filters.h"
#include "run_hold.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

// The property that tells the speed bar from Qt's own scroll bars.
constexpr char speedBarProperty[] = "velmoraSpeedBar";

QString runLength(int value) {
    return velmora::qt::toQString(velmora::form::runLengthText(value, velmora::qt::decimalPoint()));
}

// The value is a run's length, as the listener would want it said.
class SpeedBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpeedBarAccessible(QScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}
    QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return runLength(bar()->value());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& value) override {
        const int to = value.toInt();
        if (!RunHold::deferDuringRun(widget(), [b = QPointer(bar()), to] {
                if (b)
                    b->setValue(to);
            }))
            bar()->setValue(to);
    }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == u"QScrollBar" && object->property(speedBarProperty).toBool())
        return new SpeedBarAccessible(static_cast<QScrollBar*>(object));
    return nullptr;
}

} // namespace

SpeedBar::SpeedBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    // Marked before anything asks for its accessible interface, which is then kept.
    setProperty(speedBarProperty, true);
    setRange(0, velmora::form::speedBarMaximum);
    setSingleStep(1);
    setPageStep(1);
    // Change comes when the thumb is let go, not on every pixel of a drag.
    setTracking(false);
    // Qt inverts a scroll bar's keys by default; Right must raise the value here.
    setInvertedControls(false);
    setAccessibleName(velmora::qt::toQString(velmora::form::speedBarName));
    setAccessibleDescription(velmora::qt::toQString(velmora::form::speedBarDescription));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this, &SpeedBar::describeValue);
    describeValue(value());
}

void SpeedBar::paintFocus(QPainter& painter, const QRect& rect, const QPalette& palette) {
    // Two pixels of the highlight colour around the edge, inside the control.
    QPen pen(palette.color(QPalette::Active, QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
}

void SpeedBar::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key != Qt::Key_PageUp && key != Qt::Key_PageDown) || !unmodified(event))
        return QScrollBar::keyPressEvent(event);
    // A tenth of the range: 3277 of 32767. The page step stays 1 for clicks in the trough.
    const int tenth = (maximum() - minimum() + 9) / 10;
    setValue(value() + (key == Qt::Key_PageUp ? tenth : -tenth));
    event->accept();
}

void SpeedBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    paintFocus(painter, rect(), palette());
}

void SpeedBar::focusInEvent(QFocusEvent* event) {
    QScrollBar::focusInEvent(event);
    update();
}

void SpeedBar::focusOutEvent(QFocusEvent* event) {
    QScrollBar::focusOutEvent(event);
    update();
}

void SpeedBar::describeValue(int value) {
    const QString length = runLength(value);
    setToolTip(length == u"instant" ? u"A run draws at once."_s : u"A run takes %1."_s.arg(length));
}
