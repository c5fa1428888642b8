// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible.h"

#include "run_hold.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// Hidden internals: the ParameterStore's text boxes and the speed frame nobody ever sees.
bool outOfReach(const QObject* object) {
    return object->property(parameterStoreProperty).toBool() ||
           object->objectName() == u"frmAnimace";
}

// The window is a frame, and its children are what a listener can use: the controls without
// the hidden internals, then the window's own objects a screen reader knows, the picture and
// the announcer.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}

    QList<QObject*> reachable() const {
        QList<QObject*> list, own;
        for (QObject* child : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && !outOfReach(w))
                list << w;
            else if (!w && QAccessible::queryAccessibleInterface(child))
                own << child;
        }
        return list + own;
    }
    int childCount() const override { return int(reachable().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QObject*> list = reachable();
        if (index < 0 || index >= list.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(list.at(index));
    }
    int indexOfChild(const QAccessibleInterface* iface) const override {
        return iface ? int(reachable().indexOf(iface->object())) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        // Controls lie over the picture, so they come first.
        for (QObject* o : reachable()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
            if (iface && !iface->state().invisible && iface->rect().contains(x, y))
                return iface;
        }
        return nullptr;
    }
};

// An option button whose group is not also its label: the frame around it already names the
// group once, as its ancestor.
class OptionAccessible : public QAccessibleWidget {
public:
    explicit OptionAccessible(QRadioButton* b)
        : QAccessibleWidget(b, QAccessible::RadioButton, u"Toggle"_s) {}
    QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? button()->text() : name;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (!widget()->isEnabled())
            return;
        if (action == toggleAction() || action == pressAction()) {
            // A preset may not change under a running run: the press waits for its end.
            if (!RunHold::deferDuringRun(widget(), [b = QPointer(button())] {
                    if (b)
                        b->click();
                }))
                button()->click();
        } else
            QAccessibleWidget::doAction(action);
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto list = QAccessibleWidget::relations(match);
        list.removeIf([this](const auto& relation) {
            return relation.second == QAccessible::Label &&
                   relation.first->object() == widget()->parentWidget() &&
                   qobject_cast<QGroupBox*>(widget()->parentWidget());
        });
        return list;
    }
};

// The ParameterStore's text boxes, for anyone who reaches them anyway: readable, never writable.
class ParameterStoreAccessible : public QAccessibleWidget {
public:
    explicit ParameterStoreAccessible(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<QLineEdit*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.focusable = false;
        return s;
    }
    QStringList actionNames() const override { return {}; }
    void doAction(const QString&) override {}
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == u"frmVelmora" && object->isWidgetType())
        return new WindowAccessible(static_cast<QWidget*>(object));
    if (className == u"QRadioButton")
        return new OptionAccessible(static_cast<QRadioButton*>(object));
    if (className == u"QLineEdit" && object->property(parameterStoreProperty).toBool())
        return new ParameterStoreAccessible(static_cast<QLineEdit*>(object));
    return nullptr;
}

} // namespace

void installVelmoraAccessibility() {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
}
