// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the window offers a screen reader beyond Qt's defaults: the controls a listener can use
// and the window's own objects, the ParameterStore's text boxes out of reach, each option
// group named once.
#pragma once

#include <QAccessibleObject>
#include <QWidget>

// Registers the window's accessible interfaces; call before any is queried.
void installVelmoraAccessibility();

// The property that marks the hidden text boxes of the ParameterStore.
inline constexpr char parameterStoreProperty[] = "velmoraParameterStore";

// An object of the window's own that is no widget and has no children, as the picture and the
// announcer: the window is its parent.
class LeafAccessible : public QAccessibleObject {
public:
    using QAccessibleObject::QAccessibleObject;
    QWidget* owner() const { return static_cast<QWidget*>(object()->parent()); }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};
