// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "announcer.h"

#include "accessible.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

class AnnouncerAccessible : public LeafAccessible {
public:
    explicit AnnouncerAccessible(Announcer* announcer) : LeafAccessible(announcer) {}
    Announcer* announcer() const { return static_cast<Announcer*>(object()); }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? announcer()->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !announcer()->isShown() || !owner()->isVisible();
        s.readOnly = true;
        return s;
    }
    // Not drawn anywhere: a point at the window's corner.
    QRect rect() const override { return QRect(owner()->mapToGlobal(QPoint()), QSize(1, 1)); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == u"Announcer")
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* window) : QObject(window) {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    setObjectName(u"announcer"_s);
}

void Announcer::announce(const QString& text) {
    // Hidden first, so that each run shows it anew, even with the same words.
    if (m_shown) {
        m_shown = false;
        QAccessibleEvent hide(this, QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&hide);
    }
    m_text = text;
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    m_shown = true;
    QAccessibleEvent show(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&show);
}
