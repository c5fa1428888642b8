// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "explore_panel.h"

#include "core_text.h"
#include "explore.h"
#include "focus_ring.h"
#include "key_filters.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

using namespace Qt::StringLiterals;
using velmora::Quantity;
namespace explore = velmora::explore;

namespace {

// Which value a slider sets, as an index into explore::fields; none on other sliders.
constexpr char fieldProperty[] = "velmoraExploreField";

QString text(const std::string& utf8) {
    return velmora::qt::toQString(utf8);
}

QString valueText(Quantity quantity, double twips) {
    return text(explore::valueText(quantity, twips, velmora::qt::decimalPoint()));
}

// Its value is the length it sets, with its unit, as the listener would want it said.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(QSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}
    QSlider* slider() const { return static_cast<QSlider*>(widget()); }
    Quantity quantity() const {
        return explore::fields[std::size_t(widget()->property(fieldProperty).toInt())].quantity;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        if (auto* panel = qobject_cast<const ExplorePanel*>(widget()->window()))
            return valueText(quantity(), explore::valueOf(panel->values(), quantity()));
        return {};
    }
    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant& value) override { slider()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == u"QSlider" && object->property(fieldProperty).isValid())
        return new SliderAccessible(static_cast<QSlider*>(object));
    return nullptr;
}

QLabel* wrappedLabel(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

ExplorePanel::ExplorePanel(QWidget* window) : QDialog(window) {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    setObjectName(u"explorePanel"_s);
    setWindowTitle(text(explore::title));
    setModal(false);
    const std::string point = velmora::qt::decimalPoint();

    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < explore::fields.size(); ++i) {
        const explore::Field& f = explore::fields[i];
        const QString caption = text(f.caption);
        auto* label = new QLabel(caption + u':', this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        // Marked before anything asks for its accessible interface, which is then kept.
        slider->setProperty(fieldProperty, int(i));
        slider->setObjectName(caption);
        slider->setRange(0, explore::sliderSteps);
        slider->setPageStep(explore::sliderSteps / 20);
        slider->setMinimumWidth(240);
        slider->setAccessibleName(caption);
        const QString range = text(velmora::rangeText(f.quantity, point));
        slider->setAccessibleDescription(range);
        label->setBuddy(slider);
        auto* field = new QLineEdit(this);
        field->setObjectName(caption + u" text"_s);
        field->setAccessibleName(caption + u" (nm, µm or mm)"_s);
        field->setAccessibleDescription(range);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(u"0000.0000 µm"_s));
        const int row = int(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(field, row, 2);
        grid->addWidget(wrappedLabel(range, this), row, 3);
        m_rows[i] = {slider, field};

        const Quantity q = f.quantity;
        connect(slider, &QSlider::valueChanged, this, [this, q](int position) {
            // The slider stays where it was moved, whatever the value rounds to.
            explore::setValue(m_values, q, explore::sliderValue(q, position));
            showValue(q);
        });
        connect(field, &QLineEdit::editingFinished, this, [this, q] { readField(q); });
    }
    const int rows = int(explore::fields.size());
    m_derived = wrappedLabel({}, this);
    m_derived->setObjectName(u"derived"_s);
    grid->addWidget(m_derived, rows, 0, 1, 4);
    m_message = wrappedLabel({}, this);
    m_message->setObjectName(u"message"_s);
    m_message->hide();
    grid->addWidget(m_message, rows + 1, 0, 1, 4);
    m_theory = new QCheckBox(text(explore::theoryCaption), this);
    grid->addWidget(m_theory, rows + 2, 0, 1, 4);
    grid->addWidget(wrappedLabel(text(explore::note), this), rows + 3, 0, 1, 4);

    m_start = new QPushButton(u"Start"_s, this);
    auto* close = new QPushButton(u"Close"_s, this);
    // Return in a number field takes its text, and must not press a button as well.
    for (QPushButton* button : {m_start, close}) {
        button->setAutoDefault(false);
        pressOnEnter(button);
        showFocusRing(button);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(close);
    grid->addLayout(buttons, rows + 4, 0, 1, 4);
    connect(m_start, &QPushButton::clicked, this, &ExplorePanel::startPressed);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Ctrl+E closes the panel as it opened it.
    auto* toggle = new QAction(this);
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(toggle, &QAction::triggered, this, &QDialog::reject);
    addAction(toggle);

    for (const auto& [slider, field] : m_rows)
        setTabOrder(slider, field);
}

// QDialog hides the window as it goes, and the focus leaving a number field would read it
// into a panel that is no more.
ExplorePanel::~ExplorePanel() {
    for (const Row& r : m_rows)
        r.field->disconnect(this);
}

const ExplorePanel::Row& ExplorePanel::row(Quantity quantity) const {
    for (std::size_t i = 0; i < explore::fields.size(); ++i) {
        if (explore::fields[i].quantity == quantity)
            return m_rows[i];
    }
    return m_rows[0];
}

QSlider* ExplorePanel::slider(Quantity quantity) const {
    return row(quantity).slider;
}

QLineEdit* ExplorePanel::field(Quantity quantity) const {
    return row(quantity).field;
}

void ExplorePanel::openAt(const velmora::ExploreValues& values) {
    for (const explore::Field& f : explore::fields)
        setValue(f.quantity, explore::valueOf(values, f.quantity));
    m_message->hide();
    if (!m_placed && parentWidget()) {
        // Below the window, where it hides none of the picture.
        adjustSize();
        move(parentWidget()->frameGeometry().bottomLeft() + QPoint(0, 1));
        m_placed = true;
    }
    show();
    activateWindow();
    slider(Quantity::Wavelength)->setFocus(Qt::ActiveWindowFocusReason);
}

void ExplorePanel::setValue(Quantity quantity, double twips) {
    explore::setValue(m_values, quantity, explore::shownValue(quantity, twips));
    showValue(quantity);
}

void ExplorePanel::showValue(Quantity quantity) {
    const double twips = explore::valueOf(m_values, quantity);
    const Row& r = row(quantity);
    // A value the slider's own position gives leaves it there.
    if (explore::sliderValue(quantity, r.slider->value()) != twips) {
        const QSignalBlocker quiet(r.slider);
        r.slider->setValue(explore::sliderPosition(quantity, twips));
    }
    r.field->setText(valueText(quantity, twips));
    QAccessibleValueChangeEvent changed(r.slider, r.slider->value());
    QAccessible::updateAccessibility(&changed);
    m_derived->setText(text(
        explore::derivedText(velmora::exploreParameters(m_values), velmora::qt::decimalPoint())));
}

void ExplorePanel::readField(Quantity quantity) {
    QLineEdit* field = row(quantity).field;
    const double before = explore::valueOf(m_values, quantity);
    if (field->text() == valueText(quantity, before))
        return;
    const velmora::LengthReading reading = velmora::readLength(
        velmora::qt::toUtf8(field->text()), quantity, velmora::qt::decimalPoint());
    if (!reading.ok()) {
        // The text stays to be mended; the value stays as it was.
        say(text(reading.error));
        return;
    }
    m_message->hide();
    setValue(quantity, reading.twips);
}

void ExplorePanel::say(const QString& message) {
    m_message->setText(message);
    m_message->show();
    QAccessibleEvent alert(m_message, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

velmora::ExploreSettings ExplorePanel::settings() const {
    return {velmora::exploreParameters(m_values), m_theory->isChecked()};
}
