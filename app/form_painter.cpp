// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form_painter.h"

#include "canvas.h"
#include "core_text.h"
#include "focus_ring.h"
#include "speed_bar.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;
using velmora::form::Control;
using Kind = velmora::form::Kind;

namespace {

QString text(const std::string& utf8) {
    return velmora::qt::toQString(utf8);
}

Qt::Alignment labelAlignment(const Control& label) {
    return Qt::AlignTop | (label.centred ? Qt::AlignHCenter : Qt::AlignLeft);
}

QRect placed(const Control& c, const FormState& form, double zoom) {
    const QPointF at = form.moved.value(text(c.name), QPointF(c.twips.left, c.twips.top));
    QRect rect = controlRect(c, at, zoom);
    if (!c.container.empty())
        rect.translate(placed(velmora::form::control(c.container), form, zoom).topLeft());
    return rect;
}

// What a widget's style option starts from: its state in the window, palette and font.
template <class Option>
Option optionFor(const Control& c, const FormState& form, const QRect& rect,
                 const QPalette& palette, const QFont& font) {
    Option o;
    o.state = QStyle::State_Enabled;
    o.state.setFlag(QStyle::State_KeyboardFocusChange, form.keyboardFocus);
    o.state.setFlag(QStyle::State_Active, form.active);
    o.state.setFlag(QStyle::State_HasFocus, form.active && form.focus == text(c.name));
    o.rect = rect;
    o.palette = palette;
    o.fontMetrics = QFontMetrics(font);
    return o;
}

} // namespace

FormState FormState::loaded() {
    FormState form;
    for (const Control& c : velmora::form::controls()) {
        if (c.shown)
            form.shown.insert(text(c.name));
    }
    for (const velmora::form::LoadStep& step : velmora::form::formLoad()) {
        if (!step.select.empty())
            form.select(text(step.select));
    }
    form.focus = u"cmdStart"_s;
    return form;
}

void FormState::select(const QString& option) {
    const Control& chosen = velmora::form::control(velmora::qt::toUtf8(option));
    for (const Control& c : velmora::form::controls()) {
        if (c.kind == Kind::Option && c.container == chosen.container)
            selected.remove(text(c.name));
    }
    selected.insert(option);
}

void FormState::showLabel(const QString& label, QPointF twips) {
    shown.insert(label);
    moved.insert(label, twips);
}

int toPixels(double twips, double zoom) {
    constexpr double limit = std::numeric_limits<int>::max();
    return qRound(std::clamp(twips * zoom / velmora::form::twipsPerPixel, -limit, limit));
}

QFont toQFont(const velmora::form::Font& face, double zoom) {
    const auto& style = face.face.empty() ? velmora::form::windowFont : face;
    QFont font(text(style.face));
    font.setPointSizeF(style.points * zoom);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    return font;
}

QRect controlRect(const Control& c, QPointF twips, double zoom) {
    const QRect rect(toPixels(twips.x(), zoom), toPixels(twips.y(), zoom),
                     toPixels(c.twips.width, zoom), toPixels(c.twips.height, zoom));
    if (c.kind != Kind::Label)
        return rect;
    const QRect need =
        QFontMetrics(toQFont(c.font, zoom))
            .boundingRect(QRect(QPoint(), rect.size()), int(labelAlignment(c)) | Qt::TextWordWrap,
                          text(c.caption));
    const int wider = std::max(0, need.width() - rect.width());
    const int taller = std::max(0, need.height() - rect.height());
    const int left = c.centred ? (wider + 1) / 2 : 0;
    return rect.adjusted(-left, 0, wider - left, taller);
}

void paintForm(QPainter& painter, const FormState& form, double zoom) {
    QStyle* style = focusRingStyle();
    const QColor grey = velmora::Canvas::toQColor(velmora::colours::lightGrey);
    // As the window sets them: its own grey, and the platform's for the speed bar.
    QPalette palette = QGuiApplication::palette(), bar = palette;
    palette.setColor(QPalette::Window, grey);
    palette.setColor(QPalette::Button, grey);
    bar.setColor(QPalette::Active, QPalette::Highlight, focusRingColour);
    for (QPalette* p : {&palette, &bar})
        p->setCurrentColorGroup(form.active ? QPalette::Active : QPalette::Inactive);

    // As a widget's painter does on a scaled screen, where the style's pixmaps are scaled too.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Control& c : velmora::form::controls()) {
        const bool inHiddenFrame = !c.container.empty() && !form.shown.contains(text(c.container));
        if (!form.shown.contains(text(c.name)) || inHiddenFrame || c.kind == Kind::TextBox)
            continue;
        const QRect rect = placed(c, form, zoom);
        const QRect local(QPoint(), rect.size());
        // As a widget, it paints within its own box and its frame's.
        QRect clip = rect;
        if (!c.container.empty())
            clip &= placed(velmora::form::control(c.container), form, zoom);
        const QFont font = toQFont(c.font, zoom);
        // A '&' would otherwise become an access key; no caption defines one.
        const QString caption = text(c.caption).replace(u'&', u"&&"_s);
        painter.save();
        painter.setClipRect(clip);
        painter.translate(rect.topLeft());
        painter.setFont(font);
        if (c.kind != Kind::Label && c.kind != Kind::ScrollBar)
            painter.fillRect(local, grey);
        if (c.kind == Kind::Label) {
            // Only the letters: the picture shows around them.
            style->drawItemText(&painter, local,
                                int(labelAlignment(c)) | Qt::TextWordWrap |
                                    Qt::TextForceLeftToRight,
                                palette, true, text(c.caption), QPalette::WindowText);
        } else if (c.kind == Kind::Frame) {
            auto o = optionFor<QStyleOptionGroupBox>(c, form, local, palette, font);
            o.text = caption;
            o.lineWidth = 1;
            o.textAlignment = Qt::AlignLeft;
            o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            o.textColor = QColor(style->styleHint(QStyle::SH_GroupBox_TextLabelColor, &o));
            style->drawComplexControl(QStyle::CC_GroupBox, &o, &painter);
        } else if (c.kind == Kind::ScrollBar) {
            auto o = optionFor<QStyleOptionSlider>(c, form, local, bar, font);
            o.state |= QStyle::State_Horizontal;
            o.orientation = Qt::Horizontal;
            o.maximum = velmora::form::speedBarMaximum;
            o.sliderPosition = o.sliderValue = form.speed;
            o.singleStep = o.pageStep = 1;
            o.subControls = QStyle::SC_All;
            style->drawComplexControl(QStyle::CC_ScrollBar, &o, &painter);
            if (o.state & QStyle::State_HasFocus)
                SpeedBar::paintFocus(painter, local, bar);
        } else {
            auto o = optionFor<QStyleOptionButton>(c, form, local, palette, font);
            o.text = caption;
            if (c.kind == Kind::Option)
                o.state |=
                    form.selected.contains(text(c.name)) ? QStyle::State_On : QStyle::State_Off;
            else
                o.state |= QStyle::State_Raised;
            style->drawControl(c.kind == Kind::Option ? QStyle::CE_RadioButton
                                                      : QStyle::CE_PushButton,
                               &o, &painter);
        }
        painter.restore();
    }
}
