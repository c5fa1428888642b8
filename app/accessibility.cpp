// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include "run_hold.h"
#include "spiral_scan.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Hidden internals: the presets' text boxes and the speed frame nobody ever sees.
bool outOfReach(const QObject* object) {
    return object->property(parameterStoreProperty).toBool() ||
           object->objectName() == u"frmAnimace";
}

QRect globalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The window is a frame, and its children are what a listener can use: the controls without
// the hidden internals, then the picture and the announcer.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}

    QList<QObject*> reachable() const {
        QList<QObject*> list;
        for (QObject* child : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && !outOfReach(w))
                list << w;
        }
        for (QObject* child : widget()->children()) {
            if (qobject_cast<VelmoraPicture*>(child) || qobject_cast<VelmoraAnnouncer*>(child))
                list << child;
        }
        return list;
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

// An object of the window's own that has no children: the picture or the announcer.
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

class PictureAccessible : public LeafAccessible {
public:
    explicit PictureAccessible(VelmoraPicture* picture) : LeafAccessible(picture) {}
    VelmoraPicture* picture() const { return static_cast<VelmoraPicture*>(object()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return u"Diffraction picture"_s;
        if (t == QAccessible::Description)
            return picture()->description();
        return {};
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !owner()->isVisible();
        s.readOnly = true;
        return s;
    }
    // The Start action draws over the whole client area, wherever the zoom puts it.
    QRect rect() const override {
        const QRect area = picture()->area();
        if (area.isEmpty())
            return globalRect(owner());
        return QRect(owner()->mapToGlobal(area.topLeft()), area.size());
    }
};

class AnnouncerAccessible : public LeafAccessible {
public:
    explicit AnnouncerAccessible(VelmoraAnnouncer* announcer) : LeafAccessible(announcer) {}
    VelmoraAnnouncer* announcer() const { return static_cast<VelmoraAnnouncer*>(object()); }

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
    QRect rect() const override { return QRect(globalRect(owner()).topLeft(), QSize(1, 1)); }
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

// The presets' text boxes, for anyone who reaches them anyway: readable, never writable.
class StoreAccessible : public QAccessibleWidget {
public:
    explicit StoreAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}
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

// The speed bar's value is a run's length, as the listener would want it said.
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
            return describeRunLength(bar()->value());
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
    if (className == u"frmVelmora" && object->isWidgetType())
        return new WindowAccessible(static_cast<QWidget*>(object));
    if (className == u"VelmoraPicture")
        return new PictureAccessible(static_cast<VelmoraPicture*>(object));
    if (className == u"VelmoraAnnouncer")
        return new AnnouncerAccessible(static_cast<VelmoraAnnouncer*>(object));
    if (className == u"QRadioButton")
        return new OptionAccessible(static_cast<QRadioButton*>(object));
    if (className == u"QLineEdit" && object->property(parameterStoreProperty).toBool())
        return new StoreAccessible(static_cast<QLineEdit*>(object));
    if (className == u"QScrollBar" && object->property(speedBarProperty).toBool())
        return new SpeedBarAccessible(static_cast<QScrollBar*>(object));
    return nullptr;
}

// The keypad's flag rides along with its keys; any other modifier makes it another shortcut.
bool unmodified(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

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

class FocusFramedScrollBar : public QScrollBar {
public:
    explicit FocusFramedScrollBar(QWidget* parent) : QScrollBar(parent) {
        // Marked before anything asks for its accessible interface, which is then kept.
        setProperty(speedBarProperty, true);
        connect(this, &QScrollBar::valueChanged, this, &FocusFramedScrollBar::describeValue);
        describeValue(value());
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if ((key != Qt::Key_PageUp && key != Qt::Key_PageDown) || !unmodified(event))
            return QScrollBar::keyPressEvent(event);
        // A tenth of the range: 3277 of 32767. The page step stays 1 for clicks in the trough.
        const int tenth = (maximum() - minimum() + 9) / 10;
        setValue(value() + (key == Qt::Key_PageUp ? tenth : -tenth));
        event->accept();
    }
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        // Two pixels of the highlight colour around the edge, inside the control.
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    void focusInEvent(QFocusEvent* event) override {
        QScrollBar::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QScrollBar::focusOutEvent(event);
        update();
    }

private:
    void describeValue(int value) {
        const QString length = describeRunLength(value);
        setToolTip(length == u"instant" ? u"A run draws at once."_s
                                        : u"A run takes %1."_s.arg(length));
    }
};

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

void installVelmoraAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

VelmoraPicture::VelmoraPicture(QWidget* window) : QObject(window) {
    setObjectName(u"picture"_s);
}

void VelmoraPicture::setDescription(const QString& description) {
    if (description == m_description)
        return;
    m_description = description;
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

VelmoraAnnouncer::VelmoraAnnouncer(QWidget* window) : QObject(window) {
    setObjectName(u"announcer"_s);
}

void VelmoraAnnouncer::announce(const QString& text) {
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

void showFocusRing(QWidget* control) {
    static QPointer<FocusRingStyle> style;
    if (!style) {
        style = new FocusRingStyle;
        style->setParent(QCoreApplication::instance());
    }
    control->setStyle(style);
    // The platform styles draw focus only once a key has moved it; here it shows at once.
    control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    if (auto* bar = qobject_cast<QScrollBar*>(control)) {
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Active, QPalette::Highlight, focusRingColour);
        bar->setPalette(palette);
    }
}

void pressOnEnter(QAbstractButton* button) {
    button->installEventFilter(new EnterPresses(button));
}

QScrollBar* makeSpeedBar(QWidget* parent) {
    return new FocusFramedScrollBar(parent);
}

QString describeRunLength(int speedBarValue) {
    // The count the speed bar's handler writes, waited before each of the scan's steps.
    const velmora::Brake brake{std::uint32_t(speedBarValue) * 30 + 1};
    const double seconds =
        velmora::scanPoints * std::chrono::duration<double>(brake.wait()).count();
    if (seconds < 0.05)
        return u"instant"_s;
    return u"about %1 s"_s.arg(QLocale().toString(seconds, 'f', 1));
}

void arrowsInCaptionOrder(QRadioButton* option) {
    option->installEventFilter(new CaptionOrderArrows(option));
}
