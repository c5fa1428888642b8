// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as laid out: every control's kind, place, caption, font and colour, checked
// against the layout typed out again here rather than taken from the window's own table.
#include "caption_layout.h"
#include "core_text.h"
#include "frm_velmora.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextLayout>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QColor lightGrey(0xC0, 0xC0, 0xC0);

QStringList namedControls(const QWidget& window) {
    QStringList names;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            names << w->objectName();
    }
    names.sort();
    return names;
}

QString caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    return {};
}

// Rows of dark pixels, gathered into text lines, each with its leftmost and rightmost ink.
struct InkLine {
    int left, right;
};

QList<InkLine> inkLines(const QImage& image) {
    QList<InkLine> lines;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        int left = image.width(), right = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (right < 0) {
            inLine = false;
            continue;
        }
        if (!inLine)
            lines.append({left, right});
        lines.last().left = std::min(lines.last().left, left);
        lines.last().right = std::max(lines.last().right, right);
        inLine = true;
    }
    return lines;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void window() {
        frmVelmora w;
        QCOMPARE(w.objectName(), u"frmVelmora"_s);
        QCOMPARE(w.size(), QSize(765, 560));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.windowTitle(), u"Velmora - www.velmora.example.org"_s);
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.palette().color(QPalette::Window), lightGrey);
        QCOMPARE(w.font().family(), u"Arial"_s);
        QCOMPARE(w.font().pointSizeF(), 8.0);
        QVERIFY(!w.font().bold());
    }

    void controls_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("opaqueGrey");

        const auto row = [](const char* name, const char* kind, QString container, QString caption,
                            QRect twips, QString face, double points, bool bold) {
            const bool grey = QByteArray(kind) != "QLineEdit" && QByteArray(kind) != "QScrollBar";
            QTest::newRow(name) << QString::fromLatin1(kind) << container << caption << twips
                                << face << points << bold << grey;
        };
        const QString window = u"frmVelmora"_s;
        const QString arial = u"Arial"_s;
        const QString times = u"Times New Roman"_s;
        row("HScroll1", "QScrollBar", window, {}, {3480, 480, 2415, 255}, arial, 8, false);
        row("frmAnimace", "QGroupBox", window, u"Animace"_s, {240, 6360, 1215, 1215}, arial, 9.75,
            true);
        row("opPomalá", "QRadioButton", u"frmAnimace"_s, u"Pomalá"_s, {120, 840, 855, 195}, arial,
            8, false);
        row("OpPomalejší", "QRadioButton", u"frmAnimace"_s, u"Pomalejší"_s, {120, 600, 975, 195},
            arial, 8, false);
        row("opRychlá", "QRadioButton", u"frmAnimace"_s, u"Rychlá"_s, {120, 360, 975, 195}, arial,
            8, false);
        row("nSpomaleni", "QLineEdit", window, {}, {3480, 840, 975, 285}, arial, 8, false);
        row("nRozteč", "QLineEdit", window, {}, {360, 4320, 1215, 375}, arial, 8, false);
        row("frmVzdalenost", "QGroupBox", window, u"Detector-Diafrag."_s, {120, 1800, 1815, 1215},
            arial, 9.75, true);
        row("opV400", "QRadioButton", u"frmVzdalenost"_s, u"400"_s, {960, 840, 735, 255}, arial,
            9.75, false);
        row("opV300", "QRadioButton", u"frmVzdalenost"_s, u"300"_s, {240, 360, 735, 195}, arial,
            9.75, false);
        row("opV350", "QRadioButton", u"frmVzdalenost"_s, u"350"_s, {600, 600, 855, 255}, arial,
            9.75, false);
        row("nFi", "QLineEdit", window, {}, {2280, 1200, 495, 285}, arial, 8, false);
        row("frmFrekvence", "QGroupBox", window, u"Frequency"_s, {120, 120, 1455, 1575}, arial,
            9.75, true);
        row("op003", "QRadioButton", u"frmFrekvence"_s, u"lower"_s, {600, 1200, 735, 255}, arial, 8,
            false);
        row("op5", "QRadioButton", u"frmFrekvence"_s, u"higher"_s, {120, 240, 1215, 195}, arial,
            9.75, false);
        row("op02", "QRadioButton", u"frmFrekvence"_s, u"low"_s, {480, 960, 735, 255}, arial, 9.75,
            false);
        row("op06", "QRadioButton", u"frmFrekvence"_s, u"middle"_s, {360, 720, 975, 240}, arial,
            9.75, false);
        row("op1", "QRadioButton", u"frmFrekvence"_s, u"high"_s, {240, 468, 855, 255}, arial, 9.75,
            false);
        row("cmdKonec", "QPushButton", window, u"Exit"_s, {9480, 0, 975, 495}, times, 14.25, true);
        row("cmdStart", "QPushButton", window, u"Start"_s, {8400, 0, 975, 495}, times, 15.75, true);
        row("labPravděpodobnost", "QLabel", window, u"Probability (Interference pattern)"_s,
            {240, 480, 2055, 495}, arial, 9.75, true);
        row("LabStart", "QLabel", window, u"Please press button Start"_s, {3240, 2760, 3495, 495},
            times, 15.75, true);
        row("labDetektorB", "QLabel", window, u"Detector   (Cornu spirals)"_s,
            {3840, 480, 1575, 495}, arial, 9.75, true);
        row("labDetektorA", "QLabel", window, u"Detector A"_s, {2400, 480, 1335, 255}, arial, 9.75,
            true);
        row("labZdroj", "QLabel", window, u"Source"_s, {6840, 0, 735, 255}, arial, 9.75, true);
        row("labClona", "QLabel", window, u"Diafragm with Aperture"_s, {5400, 480, 1455, 615},
            arial, 9.75, true);
        row("labNeurcitost", "QLabel", window, u"Aperture diffraction"_s, {3480, 120, 2775, 375},
            times, 14.25, true);
    }

    void controls() {
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, opaqueGrey);

        frmVelmora window;
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        const auto found = window.findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        const QWidget* w = found.first();
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
        QCOMPARE(w->parentWidget()->objectName(), container);

        const auto near = [](int px, int tw) { return std::abs(px - tw / 15.0) <= 0.5; };
        QVERIFY2(near(w->x(), twips.x()) && near(w->y(), twips.y()) &&
                     near(w->width(), twips.width()) && near(w->height(), twips.height()),
                 qPrintable(u"geometry %1,%2 %3x%4"_s.arg(w->x())
                                .arg(w->y())
                                .arg(w->width())
                                .arg(w->height())));

        QCOMPARE(w->font().family(), face);
        QVERIFY(qAbs(w->font().pointSizeF() - points) < 0.01);
        QCOMPARE(w->font().weight(), bold ? QFont::Bold : QFont::Normal);
        QVERIFY(!w->font().italic() && !w->font().underline() && !w->font().strikeOut());

        if (!caption.isEmpty())
            QCOMPARE(::caption(w), caption);
        const QString accessible = kind == u"QLineEdit"    ? name
                                   : kind == u"QScrollBar" ? u"Animation speed"_s
                                                           : caption;
        QCOMPARE(w->accessibleName(), accessible);
        if (opaqueGrey) {
            // Labels keep the grey but draw only their text over the picture.
            QCOMPARE(w->autoFillBackground(), kind != u"QLabel");
            QCOMPARE(w->palette().color(w->backgroundRole()), lightGrey);
        } else {
            QVERIFY(w->palette().color(w->backgroundRole()) != lightGrey);
        }
    }

    void visibleAtStart() {
        frmVelmora w;
        QCOMPARE(namedControls(w).size(), 27);
        QStringList shown;
        for (const QString& name : namedControls(w)) {
            if (w.findChild<QWidget*>(name)->isVisibleTo(&w))
                shown << name;
        }
        QStringList expected{
            u"labNeurcitost"_s, u"HScroll1"_s,      u"cmdStart"_s, u"cmdKonec"_s, u"LabStart"_s,
            u"frmFrekvence"_s,  u"op5"_s,           u"op1"_s,      u"op06"_s,     u"op02"_s,
            u"op003"_s,         u"frmVzdalenost"_s, u"opV300"_s,   u"opV350"_s,   u"opV400"_s};
        expected.sort();
        QCOMPARE(shown, expected);
    }

    void scrollBar() {
        frmVelmora w;
        const auto* bar = w.findChild<QScrollBar*>(u"HScroll1"_s);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 32767);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 1);
    }

    void optionGroups_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("Frequency")
            << u"frmFrekvence"_s
            << QStringList{u"op5"_s, u"op1"_s, u"op06"_s, u"op02"_s, u"op003"_s};
        QTest::newRow("Detector-Diafrag.")
            << u"frmVzdalenost"_s << QStringList{u"opV300"_s, u"opV350"_s, u"opV400"_s};
        QTest::newRow("Animace") << u"frmAnimace"_s
                                 << QStringList{u"opRychlá"_s, u"OpPomalejší"_s, u"opPomalá"_s};
    }

    // Selecting each button leaves exactly it selected in its frame, and the other frames alone.
    void optionGroups() {
        QFETCH(QString, frame);
        QFETCH(QStringList, buttons);
        frmVelmora w;
        const auto* group = w.findChild<QGroupBox*>(frame);
        QCOMPARE(group->findChildren<QRadioButton*>().size(), buttons.size());
        const auto others = w.findChildren<QRadioButton*>();
        for (const QString& name : buttons) {
            QList<bool> before;
            for (const QRadioButton* r : others) {
                if (r->parentWidget() != group)
                    before << r->isChecked();
            }
            group->findChild<QRadioButton*>(name)->setChecked(true);
            QList<bool> after;
            for (const QRadioButton* r : others) {
                if (r->parentWidget() != group)
                    after << r->isChecked();
                else
                    QCOMPARE(r->isChecked(), r->objectName() == name);
            }
            QCOMPARE(after, before);
        }
    }

    void captionsWrap_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("centred");
        QTest::newRow("labClona") << 2 << true;
        QTest::newRow("labDetektorB") << 2 << true;
        QTest::newRow("labPravděpodobnost") << 2 << true;
        QTest::newRow("LabStart") << 1 << false;
        QTest::newRow("labNeurcitost") << 1 << false;
    }

    // Each line of a centred caption is centred on its own; left-aligned ones start at the edge.
    // The picture files, laid out without Qt, break the caption where the window does.
    void captionsWrap() {
        QFETCH(int, lines);
        QFETCH(bool, centred);
        frmVelmora w;
        auto* label = w.findChild<QLabel*>(QString::fromUtf8(QTest::currentDataTag()));
        label->show();
        const QSize layoutSize = label->size();
        const QImage image = label->grab().toImage();
        QCOMPARE(label->size(), layoutSize);
        const auto ink = inkLines(image);
        QCOMPARE(ink.size(), lines);
        for (const InkLine& line : ink) {
            const int leftGap = line.left;
            const int rightGap = image.width() - 1 - line.right;
            if (centred)
                QVERIFY2(std::abs(leftGap - rightGap) <= 2,
                         qPrintable(u"gaps %1 and %2"_s.arg(leftGap).arg(rightGap)));
            else
                QVERIFY2(leftGap <= 2, qPrintable(u"left gap %1"_s.arg(leftGap)));
        }
        QTextLayout layout(label->text(), label->font());
        QTextOption wrap;
        wrap.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(wrap);
        layout.beginLayout();
        QStringList window, files;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(label->width());
            window << label->text().mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        const auto& row = velmora::form::control(velmora::qt::toUtf8(label->objectName()));
        for (const std::string& line : velmora::wrapCaption(row.caption, row.font, label->width()))
            files << velmora::qt::toQString(line);
        QCOMPARE(files, window);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
