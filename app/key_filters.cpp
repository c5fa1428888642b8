// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_filters.h"

#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>
#include <functional>

namespace {

// Takes the unmodified key presses `take` says it handled; every other event goes on.
class KeyPresses : public QObject {
public:
    KeyPresses(QObject* parent, std::function<bool(const QKeyEvent&)> take)
        : QObject(parent), m_take(std::move(take)) {
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return unmodified(key) && m_take(*key);
    }

private:
    std::function<bool(const QKeyEvent&)> m_take;
};

} // namespace

bool unmodified(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void pressOnEnter(QAbstractButton* button) {
    new KeyPresses(button, [button](const QKeyEvent& key) {
        if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
            return false;
        if (!key.isAutoRepeat())
            button->click();
        return true;
    });
}

void arrowsInCaptionOrder(QRadioButton* option) {
    new KeyPresses(option, [option](const QKeyEvent& key) {
        const bool forward = key.key() == Qt::Key_Down || key.key() == Qt::Key_Right;
        const bool back = key.key() == Qt::Key_Up || key.key() == Qt::Key_Left;
        if (!forward && !back)
            return false;
        // The captions read top to bottom, whatever the staircase does sideways.
        auto group =
            option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
        std::ranges::stable_sort(group, {}, &QWidget::y);
        const auto at = group.indexOf(option) + (forward ? 1 : -1);
        if (at >= 0 && at < group.size()) {
            group[at]->click();
            group[at]->setFocus(Qt::OtherFocusReason);
        }
        return true;
    });
}
