// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frm_velmora.h"

#include "accessible.h"
#include "announcer.h"
#include "canvas.h"
#include "core_text.h"
#include "focus_ring.h"
#include "key_filters.h"
#include "result_labels.h"
#include "run_hold.h"
#include "speed_bar.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

using namespace Qt::StringLiterals;
using velmora::form::Control;
using Kind = velmora::form::Kind;

namespace {

// Where a result label was last placed, in twips, so that a new zoom can place it again.
constexpr char twipsPositionProperty[] = "velmoraTwipsPosition";

QString text(const std::string& utf8) {
    return velmora::qt::toQString(utf8);
}

const Control& rowOf(const QWidget* control) {
    return velmora::form::control(velmora::qt::toUtf8(control->objectName()));
}

QWidget* makeControl(Kind kind, QWidget* container) {
    switch (kind) {
    case Kind::Label:
        return new QLabel(container);
    case Kind::Frame:
        return new QGroupBox(container);
    case Kind::Option:
        return new QRadioButton(container);
    case Kind::Button:
        return new QPushButton(container);
    case Kind::TextBox: {
        auto* box = new QLineEdit(container);
        // Marked before anything asks for its accessible interface, which is then kept.
        box->setProperty(parameterStoreProperty, true);
        return box;
    }
    case Kind::ScrollBar:
        return new SpeedBar(container);
    }
    return nullptr;
}

// Every role its own, so the window's grey does not reach controls that keep the platform's
// look.
QPalette platformPalette() {
    QPalette palette = QApplication::palette();
    palette.setResolveMask(QPalette::ResolveMask(-1));
    return palette;
}

} // namespace

void prepareWindowSystem() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

frmVelmora::frmVelmora(QWidget* parent) : PictureView(parent) {
    installVelmoraAccessibility();
    setObjectName(u"frmVelmora"_s);
    setWindowTitle(text(velmora::form::title));
    setWindowIcon(QIcon(u":/velmora/velmora.png"_s));
    setFixedSize(clientArea().size());
    setFont(toQFont({}, 1));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, velmora::Canvas::toQColor(velmora::colours::lightGrey));
    grey.setColor(QPalette::Button, velmora::Canvas::toQColor(velmora::colours::lightGrey));
    setPalette(grey);

    buildControls();
    m_announcer = new Announcer(this);
    m_hold = new RunHold(this, cmdStart, cmdKonec);
    connectHandlers();
    createActions();
    createExploreAction();
    cmdStart->setFocus();
    Form_Load();
}

frmVelmora::~frmVelmora() = default;

void frmVelmora::buildControls() {
    std::vector<std::pair<int, QWidget*>> focusOrder;
    for (const Control& row : velmora::form::controls()) {
        QWidget* container =
            row.container.empty() ? this : findChild<QWidget*>(text(row.container));
        QWidget* control = makeControl(row.kind, container);
        const QString caption = text(row.caption);
        control->setObjectName(text(row.name));
        placeControl(control);
        if (!caption.isEmpty()) // the speed bar names itself
            control->setAccessibleName(caption);
        // A '&' would otherwise become an access key; no caption defines one.
        QString literal = caption;
        literal.replace(u'&', u"&&"_s);

        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setTextFormat(Qt::PlainText);
            label->setText(caption);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignTop | (row.centred ? Qt::AlignHCenter : Qt::AlignLeft));
            // Only the letters: the picture shows around them, and a neighbour's box cannot
            // cover them.
            label->setAutoFillBackground(false);
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            frame->setTitle(literal);
            frame->setAutoFillBackground(true);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(literal);
            button->setAutoFillBackground(true);
            // An option becomes a Tab stop only when selected (see connectHandlers).
            const bool option = row.kind == Kind::Option;
            button->setFocusPolicy(option ? Qt::ClickFocus : Qt::StrongFocus);
            if (option)
                arrowsInCaptionOrder(static_cast<QRadioButton*>(button));
            else
                pressOnEnter(button);
            showFocusRing(button);
            focusOrder.emplace_back(row.tabIndex, button);
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->setText(caption);
            box->setAccessibleName(control->objectName());
            // Only the window's own handlers write the presets; setText still works for them.
            box->setReadOnly(true);
            box->setPalette(platformPalette());
            focusOrder.emplace_back(row.tabIndex, box);
        } else {
            control->setPalette(platformPalette());
            showFocusRing(control);
            focusOrder.emplace_back(row.tabIndex, control);
        }
        control->setVisible(row.shown);
    }
#define VELMORA_FIND(Class, name) name = findChild<Class*>(QString::fromUtf8(#name));
    VELMORA_CONTROLS(VELMORA_FIND)
#undef VELMORA_FIND

    std::ranges::sort(focusOrder, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
}

void frmVelmora::placeControl(QWidget* control) {
    const Control& row = rowOf(control);
    QPointF twips(row.twips.left, row.twips.top);
    if (const QVariant placed = control->property(twipsPositionProperty); placed.isValid())
        twips = placed.toPointF();
    control->setGeometry(
        controlRect(row, twips, m_zoom).translated(row.container.empty() ? m_origin : QPoint()));
    // Set on every control: inside a frame the frame's bold font would be inherited.
    control->setFont(toQFont(row.font, m_zoom));
}

void frmVelmora::showLabel(velmora::ResultLabel which, float left, float top) {
    auto* label = findChild<QLabel*>(QString::fromUtf8(velmora::labelName(which)));
    label->setVisible(true);
    // A position no pixel can hold is a failed write of Left (or Top): the label stays put.
    velmora::labelPixel(left * m_zoom, velmora::form::twipsPerPixel);
    velmora::labelPixel(top * m_zoom, velmora::form::twipsPerPixel);
    // Kept in twips, for a later zoom to place it again.
    label->setProperty(twipsPositionProperty, QPointF(left, top));
    placeControl(label);
}

void frmVelmora::applyZoom() {
    setFont(toQFont({}, m_zoom));
    for (const Control& row : velmora::form::controls())
        placeControl(findChild<QWidget*>(text(row.name)));
    update();
}

void frmVelmora::connectHandlers() {
    // Selection raises Click, also when made in code: Form_Load relies on it.
    const std::array<std::pair<QRadioButton * frmVelmora::*, void (frmVelmora::*)()>, 9> options{{
        {&frmVelmora::op5, &frmVelmora::op5_Click},
        {&frmVelmora::op1, &frmVelmora::op1_Click},
        {&frmVelmora::op06, &frmVelmora::op06_Click},
        {&frmVelmora::op02, &frmVelmora::op02_Click},
        {&frmVelmora::op003, &frmVelmora::op003_Click},
        {&frmVelmora::opV300, &frmVelmora::opV300_Click},
        {&frmVelmora::opV350, &frmVelmora::opV350_Click},
        {&frmVelmora::opV400, &frmVelmora::opV400_Click},
        {&frmVelmora::opRychlá, &frmVelmora::opRychlá_Click},
    }};
    // One Tab stop per option group, at its selected button; arrows still reach the others.
    for (auto* option : findChildren<QRadioButton*>()) {
        connect(option, &QRadioButton::toggled, option, [option](bool selected) {
            option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }
    for (const auto& option : options) {
        const auto handler = option.second; // a named copy: clang 14 cannot capture bindings
        connect(this->*option.first, &QRadioButton::toggled, this, [this, handler](bool selected) {
            if (selected)
                (this->*handler)();
        });
    }
    connect(cmdStart, &QPushButton::clicked, this, &frmVelmora::cmdStart_Click);
    connect(cmdKonec, &QPushButton::clicked, this, &frmVelmora::cmdKonec_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmVelmora::HScroll1_Change);
}

void frmVelmora::Form_Load() {
    for (const velmora::form::LoadStep& step : velmora::form::formLoad()) {
        if (!step.select.empty())
            findChild<QRadioButton*>(text(step.select))->setChecked(true);
        else
            findChild<QLineEdit*>(text(step.box))->setText(velmora::qt::numberToText(step.value));
    }
}

void frmVelmora::writePreset(QRadioButton* option) {
    const Control& row = rowOf(option);
    findChild<QLineEdit*>(text(row.writes))
        ->setText(text(velmora::form::optionText(row, velmora::qt::decimalPoint())));
    if (exploring())
        exploreTakesPreset(row.writes);
}

void frmVelmora::HScroll1_Change() {
    // The value goes through its text and back, as the count is always kept as text.
    nSpomaleni->setText(velmora::qt::numberToText(qint16(HScroll1->value())));
    const double value = velmora::qt::textToNumber(nSpomaleni->text());
    nSpomaleni->setText(velmora::qt::numberToText(velmora::form::delayCountOf(value)));
}

void frmVelmora::cmdKonec_Click() {
    close();
}

velmora::ParameterStore frmVelmora::parameterStore() const {
    using velmora::qt::toUtf8;
    return {toUtf8(nFi->text()), toUtf8(nRozteč->text()), toUtf8(nSpomaleni->text())};
}

FormState frmVelmora::formState() const {
    FormState form;
    for (const Control& row : velmora::form::controls()) {
        const QWidget* control = findChild<QWidget*>(text(row.name));
        if (control->isVisibleTo(this))
            form.shown.insert(control->objectName());
        if (const QVariant placed = control->property(twipsPositionProperty); placed.isValid())
            form.moved.insert(control->objectName(), placed.toPointF());
        if (auto* option = qobject_cast<const QRadioButton*>(control);
            option && option->isChecked())
            form.selected.insert(control->objectName());
    }
    form.speed = HScroll1->value();
    const QWidget* focused = focusWidget();
    form.focus = focused && focused->hasFocus() ? focused->objectName() : QString();
    form.keyboardFocus = testAttribute(Qt::WA_KeyboardFocusChange);
    form.active = isActiveWindow();
    return form;
}

void frmVelmora::presented() {
    m_hold->letThrough();
}
