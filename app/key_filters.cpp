// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_filters.h"

#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>

namespace {

class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || !unmodified(key))
            return false;
        if (!key->isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

class CaptionOrderArrows : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool forward = key->key() == Qt::Key_Down || key->key() == Qt::Key_Right;
        const bool back = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left;
        if ((!forward && !back) || !unmodified(key))
            return false;
        // The captions read top to bottom, whatever the staircase does sideways.
        auto* option = static_cast<QRadioButton*>(watched);
        auto group =
            option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
        std::ranges::stable_sort(group, {}, &QWidget::y);
        const auto at = group.indexOf(option) + (forward ? 1 : -1);
        if (at >= 0 && at < group.size()) {
            group[at]->click();
            group[at]->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
};

} // namespace

bool unmodified(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void pressOnEnter(QAbstractButton* button) {
    button->installEventFilter(new EnterPresses(button));
}

void arrowsInCaptionOrder(QRadioButton* option) {
    option->installEventFilter(new CaptionOrderArrows(option));
}
