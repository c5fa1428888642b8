// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "focus_ring.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOption>

namespace {

// The platform's style for everything else; its focus frame, where it draws one at all, is a
// faint tint shown only after a key has moved the focus.
class FocusRingStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect)
            return drawRing(painter, option->rect);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    // Some styles, Fusion among them, fold a push button's focus into its panel instead.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_PushButton && option->state & State_HasFocus)
            drawRing(painter, option->rect.adjusted(2, 2, -2, -2));
    }

private:
    static void drawRing(QPainter* painter, const QRect& rect) {
        painter->save();
        QPen pen(focusRingColour, 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

} // namespace

QStyle* focusRingStyle() {
    static QPointer<FocusRingStyle> style;
    if (!style) {
        style = new FocusRingStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

void showFocusRing(QWidget* control) {
    control->setStyle(focusRingStyle());
    // The platform styles draw focus only once a key has moved it; here it shows at once.
    control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    if (auto* bar = qobject_cast<QScrollBar*>(control)) {
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Active, QPalette::Highlight, focusRingColour);
        bar->setPalette(palette);
    }
}
