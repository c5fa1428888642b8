// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "svg_picture.h"

#include "caption_layout.h"
#include "form.h"
#include "result_labels.h"
#include "start_action.h"
#include "svg_surface.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

using form::Control;
using form::Kind;
using svg::number;

constexpr double px(double twips) {
    return twips / form::twipsPerPixel;
}
constexpr double clientWidth = px(form::clientWidth), clientHeight = px(form::clientHeight);

// The control's face, with the faces that share its widths where it is missing.
const char* family(const form::Font& font) {
    const form::Font& f = font.face.empty() ? form::windowFont : font;
    return f.face == "Times New Roman" ? "'Times New Roman', 'Liberation Serif', Times, serif"
                                       : "Arial, 'Liberation Sans', Helvetica, sans-serif";
}

struct Box {
    double x, y, w, h;
};

class Writer {
public:
    std::string out;

    void rect(Box b, const char* fill, const char* stroke = nullptr) {
        // A one-pixel outline inside the box, on whole pixels.
        const double inset = stroke ? 0.5 : 0;
        out += "<rect x=\"" + number(b.x + inset) + "\" y=\"" + number(b.y + inset) +
               "\" width=\"" + number(std::max(0.0, b.w - 2 * inset)) + "\" height=\"" +
               number(std::max(0.0, b.h - 2 * inset)) + "\" fill=\"" + fill + "\"" +
               (stroke ? std::string(" stroke=\"") + stroke + "\"" : "") + "/>\n";
    }
    void path(const std::string& d, const char* stroke, const char* fill = "none") {
        out += "<path d=\"" + d + "\" fill=\"" + fill + "\" stroke=\"" + stroke + "\"/>\n";
    }
    void circle(double x, double y, double r, const char* fill, const char* stroke) {
        out += "<circle cx=\"" + number(x) + "\" cy=\"" + number(y) + "\" r=\"" + number(r) +
               "\" fill=\"" + fill + "\" stroke=\"" + stroke + "\"/>\n";
    }
    // `top` is the line's top; the text stands on the baseline below it.
    void text(double x, double top, std::string_view caption, const form::Font& font,
              bool centred = false) {
        const bool bold = font.face.empty() ? form::windowFont.bold : font.bold;
        out += "<text x=\"" + number(x) + "\" y=\"" + number(top + ascent(font)) +
               "\" font-family=\"" + family(font) + "\" font-size=\"" + number(fontPixels(font)) +
               "\" font-weight=\"" + (bold ? "700" : "400") + "\"" +
               (centred ? " text-anchor=\"middle\"" : "") + " xml:space=\"preserve\">" +
               svg::escaped(caption) + "</text>\n";
    }
};

constexpr const char* grey = "#c0c0c0";
constexpr const char* shadow = "#808080";
constexpr const char* dark = "#404040";

void label(Writer& w, const Control& c, Box b) {
    double top = b.y;
    for (const std::string& line : wrapCaption(c.caption, c.font, b.w)) {
        w.text(c.centred ? b.x + b.w / 2 : b.x, top, line, c.font, c.centred);
        top += lineSpacing(c.font);
    }
}

void frame(Writer& w, const Control& c, Box b) {
    w.rect(b, grey);
    // An etched line, broken where the caption sits on it.
    const double line = std::floor(b.y + fontPixels(c.font) / 2);
    const Box border{b.x, line, b.w - 1, b.y + b.h - line - 1};
    w.rect(border, "none", shadow);
    w.rect({border.x + 1, border.y + 1, border.w, border.h}, "none", "#ffffff");
    w.rect({b.x + 6, b.y, textWidth(c.caption, c.font) + 6, lineSpacing(c.font)}, grey);
    w.text(b.x + 9, b.y, c.caption, c.font);
}

void option(Writer& w, const Control& c, Box b, bool selected) {
    w.rect(b, grey);
    const double middle = b.y + b.h / 2;
    w.circle(b.x + 6.5, middle, 5.5, "#ffffff", shadow);
    if (selected)
        w.circle(b.x + 6.5, middle, 2.5, "#000000", "none");
    w.text(b.x + 17, middle - lineSpacing(c.font) / 2, c.caption, c.font);
}

void raised(Writer& w, Box b) {
    w.rect(b, grey, dark);
    w.path(std::string("M") + number(b.x + 1.5) + " " + number(b.y + b.h - 2) + "V" +
               number(b.y + 1.5) + "H" + number(b.x + b.w - 2),
           "#ffffff");
}

void button(Writer& w, const Control& c, Box b) {
    raised(w, b);
    w.text(b.x + b.w / 2, b.y + (b.h - lineSpacing(c.font)) / 2, c.caption, c.font, true);
}

void scrollBar(Writer& w, Box b, int value) {
    w.rect(b, "#e0e0e0", shadow);
    const double s = b.h; // the arrows and the thumb are square
    const double mid = b.y + s / 2, reach = s / 4;
    for (const double left : {b.x, b.x + b.w - s}) {
        raised(w, {left, b.y, s, s});
        const double tip = left == b.x ? left + s / 2 - reach : left + s / 2 + reach;
        const double base = left == b.x ? tip + reach : tip - reach;
        w.path(std::string("M") + number(tip) + " " + number(mid) + "L" + number(base) + " " +
                   number(mid - reach) + "V" + number(mid + reach) + "Z",
               "none", "#000000");
    }
    const double travel = std::max(0.0, b.w - 3 * s);
    raised(w, {b.x + s + travel * value / form::speedBarMaximum, b.y, s, s});
}

void controls(Writer& w, const PictureContent& content) {
    const auto shown = [&](const Control& c) {
        return c.shown || std::any_of(content.labels.begin(), content.labels.end(),
                                      [&](const PictureLabel& l) { return l.name == c.name; });
    };
    for (const Control& c : form::controls()) {
        if (c.kind == Kind::TextBox || !shown(c) ||
            (!c.container.empty() && !form::control(c.container).shown))
            continue;
        double left = c.twips.left, top = c.twips.top;
        for (const PictureLabel& l : content.labels) {
            if (l.name == c.name) {
                left = l.left;
                top = l.top;
            }
        }
        if (!c.container.empty()) {
            left += form::control(c.container).twips.left;
            top += form::control(c.container).twips.top;
        }
        const Box b{px(left), px(top), px(c.twips.width), px(c.twips.height)};
        switch (c.kind) {
        case Kind::Label:
            label(w, c, b);
            break;
        case Kind::Frame:
            frame(w, c, b);
            break;
        case Kind::Option:
            option(w, c, b,
                   std::find(content.selected.begin(), content.selected.end(), c.name) !=
                       content.selected.end());
            break;
        case Kind::Button:
            button(w, c, b);
            break;
        case Kind::ScrollBar:
            scrollBar(w, b, std::clamp(content.speed, 0, form::speedBarMaximum));
            break;
        case Kind::TextBox:
            break;
        }
    }
}

std::string document(const PictureContent& content, double scale,
                     const std::string_view* decimalPoint) {
    Writer w;
    w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
            number(clientWidth * scale) + "\" height=\"" + number(clientHeight * scale) +
            "\" viewBox=\"0 0 " + number(clientWidth) + " " + number(clientHeight) + "\">\n" +
            "<title>" + svg::escaped(content.title) + "</title>\n<desc>" +
            svg::escaped(content.description) + "</desc>\n";
    if (decimalPoint) {
        w.rect({0, 0, clientWidth, clientHeight}, grey);
        w.out += "<g fill=\"none\">\n";
        if (content.run) {
            svg::SvgSurface surface(w.out);
            NoLabels labels;
            runStartAction(*content.run, surface, labels, *decimalPoint, {}, content.explore,
                           content.steps);
        }
        w.out += "</g>\n";
    }
    controls(w, content);
    w.out += "</svg>\n";
    return std::move(w.out);
}

} // namespace

std::string svgPicture(const PictureContent& content, double scale, std::string_view decimalPoint) {
    return document(content, scale, &decimalPoint);
}

std::string svgControls(const PictureContent& content, double scale) {
    return document(content, scale, nullptr);
}

} // namespace velmora
