// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frm_velmora.h"

#include "accessibility.h"
#include "canvas.h"
#include "qt_core.h"
#include "result_labels.h"
#include "run_hold.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

// The only conversion from layout units to Qt's logical pixels; the zoom is its one factor.
// Held within int: a label accepted at one zoom may lie beyond a pixel at a larger one.
int toPixels(double twips, double zoom) {
    constexpr double limit = std::numeric_limits<int>::max();
    return qRound(std::clamp(twips * zoom / velmora::twipsPerPixel, -limit, limit));
}

// Where a result label was last placed, in twips, so that a new zoom can place it again.
constexpr char twipsPositionProperty[] = "velmoraTwipsPosition";

constexpr QSize clientTwips(11475, 8400);

struct FontStyle {
    const char16_t* face = nullptr; // none: the window font
    double points = 0;
    bool bold = false;
};

constexpr FontStyle windowFont{u"Arial", 8, false};
constexpr FontStyle arial{u"Arial", 9.75, false};
constexpr FontStyle arialBold{u"Arial", 9.75, true};
constexpr FontStyle timesBold14{u"Times New Roman", 14.25, true};
constexpr FontStyle timesBold15{u"Times New Roman", 15.75, true};

QFont makeFont(const FontStyle& style, double zoom) {
    QFont font(QString::fromUtf16(style.face));
    font.setPointSizeF(style.points * zoom);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    return font;
}

// The member a control is held in also decides its kind.
template <auto member> QWidget* create(frmVelmora& window, QWidget* container) {
    using Pointer = std::remove_reference_t<decltype(window.*member)>;
    auto* control = new std::remove_pointer_t<Pointer>(container);
    // Marked before anything asks for its accessible interface, which is then kept.
    if constexpr (std::is_same_v<Pointer, QLineEdit*>)
        control->setProperty(parameterStoreProperty, true);
    window.*member = control;
    return control;
}

QWidget* createSpeedBar(frmVelmora& window, QWidget* container) {
    window.HScroll1 = makeSpeedBar(container);
    return window.HScroll1;
}

enum class Align { Left, Centre };

struct ControlRow {
    QWidget* (*create)(frmVelmora&, QWidget*);
    const char16_t* name;
    const char16_t* container;    // none: the window
    const char16_t* caption;      // or initial text
    int left, top, width, height; // twips, within the container
    FontStyle font;
    bool shown;
    int tabIndex;
    Align align = Align::Left;
};

using F = frmVelmora;
constexpr FontStyle inherited{};

// Layout order: each frame comes before the option buttons it holds.
const std::array<ControlRow, 27> controls{{
    {createSpeedBar, u"HScroll1", nullptr, nullptr, 3480, 480, 2415, 255, inherited, true, 26},
    {create<&F::frmAnimace>, u"frmAnimace", nullptr, u"Animace", 240, 6360, 1215, 1215, arialBold,
     false, 22},
    {create<&F::opPomalá>, u"opPomalá", u"frmAnimace", u"Pomalá", 120, 840, 855, 195, inherited,
     true, 25},
    {create<&F::OpPomalejší>, u"OpPomalejší", u"frmAnimace", u"Pomalejší", 120, 600, 975, 195,
     inherited, true, 24},
    {create<&F::opRychlá>, u"opRychlá", u"frmAnimace", u"Rychlá", 120, 360, 975, 195, inherited,
     true, 23},
    {create<&F::nSpomaleni>, u"nSpomaleni", nullptr, u"Spomaleni", 3480, 840, 975, 285, inherited,
     false, 21},
    {create<&F::nRozteč>, u"nRozteč", nullptr, u"Rozteč", 360, 4320, 1215, 375, inherited, false,
     16},
    {create<&F::frmVzdalenost>, u"frmVzdalenost", nullptr, u"Detector-Diafrag.", 120, 1800, 1815,
     1215, arialBold, true, 14},
    {create<&F::opV400>, u"opV400", u"frmVzdalenost", u"400", 960, 840, 735, 255, arial, true, 18},
    {create<&F::opV300>, u"opV300", u"frmVzdalenost", u"300", 240, 360, 735, 195, arial, true, 17},
    {create<&F::opV350>, u"opV350", u"frmVzdalenost", u"350", 600, 600, 855, 255, arial, true, 15},
    {create<&F::nFi>, u"nFi", nullptr, u"Fi", 2280, 1200, 495, 285, inherited, false, 11},
    {create<&F::frmFrekvence>, u"frmFrekvence", nullptr, u"Frequency", 120, 120, 1455, 1575,
     arialBold, true, 8},
    {create<&F::op003>, u"op003", u"frmFrekvence", u"lower", 600, 1200, 735, 255, inherited, true,
     20},
    {create<&F::op5>, u"op5", u"frmFrekvence", u"higher", 120, 240, 1215, 195, arial, true, 19},
    {create<&F::op02>, u"op02", u"frmFrekvence", u"low", 480, 960, 735, 255, arial, true, 12},
    {create<&F::op06>, u"op06", u"frmFrekvence", u"middle", 360, 720, 975, 240, arial, true, 10},
    {create<&F::op1>, u"op1", u"frmFrekvence", u"high", 240, 468, 855, 255, arial, true, 9},
    {create<&F::cmdKonec>, u"cmdKonec", nullptr, u"Exit", 9480, 0, 975, 495, timesBold14, true, 7},
    {create<&F::cmdStart>, u"cmdStart", nullptr, u"Start", 8400, 0, 975, 495, timesBold15, true, 1},
    {create<&F::labPravděpodobnost>, u"labPravděpodobnost", nullptr,
     u"Probability (Interference pattern)", 240, 480, 2055, 495, arialBold, false, 13,
     Align::Centre},
    {create<&F::LabStart>, u"LabStart", nullptr, u"Please press button Start", 3240, 2760, 3495,
     495, timesBold15, true, 6},
    {create<&F::labDetektorB>, u"labDetektorB", nullptr, u"Detector   (Cornu spirals)", 3840, 480,
     1575, 495, arialBold, false, 5, Align::Centre},
    {create<&F::labDetektorA>, u"labDetektorA", nullptr, u"Detector A", 2400, 480, 1335, 255,
     arialBold, false, 4},
    {create<&F::labZdroj>, u"labZdroj", nullptr, u"Source", 6840, 0, 735, 255, arialBold, false, 3},
    {create<&F::labClona>, u"labClona", nullptr, u"Diafragm with Aperture", 5400, 480, 1455, 615,
     arialBold, false, 2, Align::Centre},
    {create<&F::labNeurcitost>, u"labNeurcitost", nullptr, u"Aperture diffraction", 3480, 120, 2775,
     375, timesBold14, true, 0},
}};

QString text(const char16_t* s) {
    return s ? QString::fromUtf16(s) : QString();
}

// Every role set explicitly, so the window's grey does not reach controls that keep the
// platform's look.
QPalette platformPalette() {
    const QPalette platform = QApplication::palette();
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            palette.setBrush(g, r, platform.brush(g, r));
        }
    }
    return palette;
}

const ControlRow* rowOf(const QWidget* control) {
    for (const ControlRow& row : controls) {
        if (control->objectName() == text(row.name))
            return &row;
    }
    return nullptr;
}

} // namespace

void prepareWindowSystem() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

frmVelmora::frmVelmora(QWidget* parent) : QWidget(parent) {
    installVelmoraAccessibility();
    setObjectName(u"frmVelmora"_s);
    setWindowTitle(appName + u" - www.velmora.example.org"_s);
    setWindowIcon(QIcon(u":/velmora/velmora.png"_s));
    setFixedSize(toPixels(clientTwips.width(), 1), toPixels(clientTwips.height(), 1));
    setFont(makeFont(windowFont, 1));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, velmora::Canvas::toQColor(velmora::colours::lightGrey));
    grey.setColor(QPalette::Button, velmora::Canvas::toQColor(velmora::colours::lightGrey));
    setPalette(grey);
    // paintEvent covers every pixel from the canvas, and what it drew stays valid.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);

    buildControls();
    m_picture = new VelmoraPicture(this);
    m_picture->setDescription(velmora::qt::toQString(velmora::describeNoPicture()));
    m_announcer = new VelmoraAnnouncer(this);
    m_hold = new RunHold(this);
    connectHandlers();
    createActions();
    cmdStart->setFocus();
    Form_Load();
}

frmVelmora::~frmVelmora() = default;

void frmVelmora::buildControls() {
    std::vector<std::pair<int, QWidget*>> focusOrder;
    for (const ControlRow& row : controls) {
        QWidget* container = row.container ? findChild<QWidget*>(text(row.container)) : this;
        QWidget* control = row.create(*this, container);
        const QString name = text(row.name);
        const QString caption = text(row.caption);
        control->setObjectName(name);
        placeControl(control);
        control->setAccessibleName(caption);
        // A '&' would otherwise become an access key; no caption defines one.
        QString literal = caption;
        literal.replace(u'&', u"&&"_s);

        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setTextFormat(Qt::PlainText);
            label->setText(caption);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignTop |
                                (row.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft));
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
            const bool option = qobject_cast<QRadioButton*>(button) != nullptr;
            button->setFocusPolicy(option ? Qt::ClickFocus : Qt::StrongFocus);
            if (option)
                arrowsInCaptionOrder(static_cast<QRadioButton*>(button));
            else
                pressOnEnter(button);
            showFocusRing(button);
            focusOrder.emplace_back(row.tabIndex, button);
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->setText(caption);
            box->setAccessibleName(name);
            // Only the window's own handlers write the presets; setText still works for them.
            box->setReadOnly(true);
            box->setPalette(platformPalette());
            focusOrder.emplace_back(row.tabIndex, box);
        } else if (auto* bar = qobject_cast<QScrollBar*>(control)) {
            bar->setOrientation(Qt::Horizontal);
            bar->setRange(0, 32767);
            bar->setValue(0);
            bar->setSingleStep(1);
            bar->setPageStep(1);
            // Change comes when the thumb is let go, not on every pixel of a drag.
            bar->setTracking(false);
            // Qt inverts a scroll bar's keys by default; Right must raise the value here.
            bar->setInvertedControls(false);
            bar->setAccessibleName(u"Animation speed"_s);
            bar->setAccessibleDescription(
                u"Moving right slows the run: at the left end it draws at once, at the right end "
                u"it takes about 4 seconds."_s);
            bar->setPalette(platformPalette());
            bar->setFocusPolicy(Qt::StrongFocus);
            showFocusRing(bar);
            focusOrder.emplace_back(row.tabIndex, bar);
        }
        control->setVisible(row.shown);
    }

    std::ranges::sort(focusOrder, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
}

QRect frmVelmora::toWindow(const QRectF& twips, bool inWindow) const {
    const QPoint corner(toPixels(twips.left(), m_zoom), toPixels(twips.top(), m_zoom));
    return QRect(corner + (inWindow ? m_origin : QPoint()),
                 QSize(toPixels(twips.width(), m_zoom), toPixels(twips.height(), m_zoom)));
}

void frmVelmora::placeControl(QWidget* control) {
    const ControlRow& row = *rowOf(control);
    QRectF twips(row.left, row.top, row.width, row.height);
    if (const QVariant placed = control->property(twipsPositionProperty); placed.isValid())
        twips.moveTopLeft(placed.toPointF());
    control->setGeometry(toWindow(twips, row.container == nullptr));
    // Set on every control: inside a frame the frame's bold font would be inherited.
    control->setFont(makeFont(row.font.face ? row.font : windowFont, m_zoom));

    // Font sizes do not scale exactly with the zoom: should a caption need more room than its
    // box, the box grows, as it draws nothing of its own.
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const QRect room = label->contentsRect();
        const QRect need = label->fontMetrics().boundingRect(
            room, int(label->alignment()) | Qt::TextWordWrap, label->text());
        const int wider = std::max(0, need.width() - room.width());
        const int taller = std::max(0, need.height() - room.height());
        if (wider > 0 || taller > 0) {
            const int left = row.align == Align::Centre ? (wider + 1) / 2 : 0;
            label->setGeometry(label->geometry().adjusted(-left, 0, wider - left, taller));
        }
    }
}

void frmVelmora::applyZoom() {
    setFont(makeFont(windowFont, m_zoom));
    for (const ControlRow& row : controls)
        placeControl(findChild<QWidget*>(text(row.name)));
    m_picture->setArea(clientArea());
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
    op06->setChecked(true);
    nFi->setText(velmora::qt::numberToText(0.6));
    opV350->setChecked(true);
    opRychlá->setChecked(true);
    nSpomaleni->setText(u"1"_s);
}

void frmVelmora::op5_Click() {
    nFi->setText(u"5"_s);
}
void frmVelmora::op1_Click() {
    nFi->setText(u"1"_s);
}
void frmVelmora::op06_Click() {
    nFi->setText(velmora::qt::numberToText(0.6));
}
void frmVelmora::op02_Click() {
    nFi->setText(velmora::qt::numberToText(0.2));
}
void frmVelmora::op003_Click() {
    nFi->setText(velmora::qt::numberToText(0.03));
}
void frmVelmora::opV300_Click() {
    nRozteč->setText(u"300"_s);
}
void frmVelmora::opV350_Click() {
    nRozteč->setText(u"350"_s);
}
void frmVelmora::opV400_Click() {
    nRozteč->setText(u"400"_s);
}
void frmVelmora::opRychlá_Click() {
    nSpomaleni->setText(u"1"_s);
}

void frmVelmora::HScroll1_Change() {
    // The value goes through its text and back, as the count is always kept as text.
    nSpomaleni->setText(velmora::qt::numberToText(qint16(HScroll1->value())));
    const double value = velmora::qt::textToNumber(nSpomaleni->text());
    nSpomaleni->setText(velmora::qt::numberToText(value * 30 + 1));
}

void frmVelmora::cmdKonec_Click() {
    close();
}

void frmVelmora::placeResultLabel(QLabel* label, QPointF twips) {
    // A position no pixel can hold is a failed write of Left (or Top): the label stays put.
    velmora::labelPixel(twips.x() * m_zoom, velmora::twipsPerPixel);
    velmora::labelPixel(twips.y() * m_zoom, velmora::twipsPerPixel);
    label->setProperty(twipsPositionProperty, twips);
    placeControl(label);
}

QRect frmVelmora::clientArea() const {
    return toWindow(QRectF(QPointF(), clientTwips), true);
}

std::unique_ptr<velmora::Canvas> frmVelmora::createCanvas() {
    // In logical pixels at 100 %, which the run's pixel coordinates count; the zoom goes into
    // the device scale, so lines are drawn at full resolution rather than enlarged.
    const QSize client(toPixels(clientTwips.width(), 1), toPixels(clientTwips.height(), 1));
    return std::make_unique<velmora::Canvas>(client, devicePixelRatio() * m_zoom);
}
