// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start pressed in the real window: the picture it leaves, and kept by copying, saving and
// printing; the labels it shows and moves; and how a run-time error is reported without ending
// the program.
#include "frm_velmora.h"
#include "message_box_closer.h"

#include "canvas.h"
#include "run_time_error.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <complex>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);

const QColor black(0, 0, 0);
const QColor grey(0xC0, 0xC0, 0xC0);
const QColor paleCyan(0xC0, 0xFF, 0xFF);
const QColor green(0, 0xFF, 0);

void pressStart(frmVelmora& w) {
    w.findChild<QPushButton*>(u"cmdStart"_s)->click();
}

QStringList shownControls(const frmVelmora& w) {
    QStringList names;
    for (const QWidget* c : w.findChildren<QWidget*>()) {
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_") && c->isVisibleTo(&w))
            names << c->objectName();
    }
    names.sort();
    return names;
}

// Where the intensity bar on the optical axis ends, in pixels, for the "middle" frequency and
// the "350" distance: the resultant of one unit phasor per sample of the opening (and the
// extra one), each turned by 0.05 rad per twip of path, squared and scaled by 0.009.
double axisBarEnd() {
    constexpr double detectorX = 5500, apertureX = 3500, phasePerTwip = 0.05;
    std::complex<double> resultant = std::polar(1.0, phasePerTwip * (detectorX - apertureX));
    for (int s = 0; s <= 1000; ++s)
        resultant += 2.0 * std::polar(1.0, phasePerTwip * std::hypot(detectorX - apertureX, s));
    return (7500 + std::norm(resultant) * 0.009) / 15;
}

class FlakyCanvasWindow : public frmVelmora {
public:
    int failuresLeft = 1;

protected:
    std::unique_ptr<velmora::Canvas> createCanvas() override {
        if (failuresLeft-- > 0)
            throw velmora::RunTimeError::outOfMemory();
        return frmVelmora::createCanvas();
    }
};

} // namespace

class TestRun : public QObject {
    Q_OBJECT

    std::unique_ptr<frmVelmora> m_default; // one default run, shared by the pixel checks
    QImage m_defaultPicture;

private slots:
    void initTestCase() {
        QLocale::setDefault(english);
        m_default = std::make_unique<frmVelmora>();
        m_default->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_default.get()));
        QVERIFY(m_default->picture().isNull());
        pressStart(*m_default);
        m_defaultPicture = m_default->picture();
        QCOMPARE(m_defaultPicture.size(), QSize(765, 560));
    }
    void cleanupTestCase() { m_default.reset(); }
    void cleanup() { QLocale::setDefault(english); }

    void visibilityAfterRun() {
        QStringList expected{u"labNeurcitost"_s, u"HScroll1"_s,     u"cmdStart"_s,
                             u"cmdKonec"_s,      u"LabStart"_s,     u"frmFrekvence"_s,
                             u"op5"_s,           u"op1"_s,          u"op06"_s,
                             u"op02"_s,          u"op003"_s,        u"frmVzdalenost"_s,
                             u"opV300"_s,        u"opV350"_s,       u"opV400"_s,
                             u"labClona"_s,      u"labDetektorB"_s, u"labPravděpodobnost"_s,
                             u"labZdroj"_s};
        expected.sort();
        QCOMPARE(shownControls(*m_default), expected);
    }

    void resultLabels_data() {
        QTest::addColumn<QString>("distance");
        QTest::addColumn<int>("detectorLeft");
        QTest::newRow("300") << u"opV300"_s << 4500;
        QTest::newRow("350") << u"opV350"_s << 5500;
        QTest::newRow("400") << u"opV400"_s << 6500;
    }

    void resultLabels() {
        QFETCH(QString, distance);
        QFETCH(int, detectorLeft);
        frmVelmora w;
        w.findChild<QRadioButton*>(distance)->click();
        pressStart(w);

        const struct {
            QString name;
            int left, top;
        } expected[] = {{u"labClona"_s, 2300, 1000},
                        {u"labDetektorB"_s, detectorLeft, 1000},
                        {u"labPravděpodobnost"_s, 8000, 990},
                        {u"labZdroj"_s, 850, 3400}};
        QList<QPoint> first;
        for (const auto& e : expected) {
            const auto* label = w.findChild<QLabel*>(e.name);
            QVERIFY(qAbs(label->x() - e.left / 15.0) <= 0.5);
            QVERIFY(qAbs(label->y() - e.top / 15.0) <= 0.5);
            first << label->pos();
        }
        pressStart(w);
        QList<QPoint> second;
        for (const auto& e : expected)
            second << w.findChild<QLabel*>(e.name)->pos();
        QCOMPARE(second, first);
    }

    void labelsHideNothing_data() {
        QTest::addColumn<QString>("distance");
        QTest::newRow("300") << u"opV300"_s;
        QTest::newRow("350") << u"opV350"_s;
        QTest::newRow("400, detector and pattern labels overlap") << u"opV400"_s;
    }

    // Around the letters, every label's box shows the picture; no letter is cut off by a box.
    void labelsHideNothing() {
        QFETCH(QString, distance);
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QRadioButton*>(distance)->click();
        pressStart(w);
        const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture = w.picture().convertToFormat(QImage::Format_RGB32);

        QList<QLabel*> labels;
        QRegion text; // and the controls that lie over a box, as the scroll bar over the title
        for (const QWidget* control : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible() && !qobject_cast<const QLabel*>(control))
                text += control->geometry();
        }
        for (QLabel* label : w.findChildren<QLabel*>()) {
            if (!label->isVisible())
                continue;
            const QRect ink = label->fontMetrics().boundingRect(
                label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, label->text());
            QVERIFY2(label->contentsRect().contains(ink), qPrintable(label->objectName()));
            text += ink.translated(label->pos()).adjusted(-2, -2, 2, 2);
            labels << label;
        }
        QCOMPARE(labels.size(), 6); // the title, the prompt and the four result labels
        int picturePixels = 0;
        for (const QLabel* label : labels) {
            for (int y = label->y(); y <= label->geometry().bottom(); ++y) {
                for (int x = label->x(); x <= label->geometry().right(); ++x) {
                    if (text.contains(QPoint(x, y)))
                        continue;
                    QVERIFY2(shown.pixel(x, y) == picture.pixel(x, y),
                             qPrintable(u"%1 at %2, %3"_s.arg(label->objectName()).arg(x).arg(y)));
                    picturePixels += picture.pixelColor(x, y) != grey;
                }
            }
        }
        QVERIFY(picturePixels > 100); // boxes that lie over drawing, not only over background
    }

    void pictureKept_data() {
        QTest::addColumn<QString>("name"); // of the file, if any
        QTest::newRow("copied with Ctrl+C") << QString();
        QTest::newRow("saved as PNG") << u"kept.png"_s;
        QTest::newRow("saved as SVG by the name's suffix") << u"kept.SVG"_s;
        QTest::newRow("printed") << u"kept.pdf"_s;
    }

    // The client area as the run left it; an SVG with the run's lines as vectors, labels as text.
    void pictureKept() {
        QFETCH(QString, name);
        m_default->activateWindow(); // for its shortcuts; its focus ring shows from now on
        QVERIFY(QTest::qWaitForWindowActive(m_default.get()));
        const QImage shown = m_default->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (name.isEmpty()) {
            QTest::keySequence(m_default.get(), QKeySequence::Copy);
            const QImage copied = QGuiApplication::clipboard()->image();
            QVERIFY(copied.convertToFormat(QImage::Format_RGB32) == shown);
            return;
        }
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(name)); // PDF by the name
        QString error;
        if (name.endsWith(u".pdf"))
            m_default->printPicture(printer);
        else
            QVERIFY2(m_default->savePictureAs(dir.filePath(name), &error), qPrintable(error));
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (name.endsWith(u".png"))
            QVERIFY(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32) == shown);
        if (name.endsWith(u".pdf"))
            QVERIFY(bytes.startsWith("%PDF") && bytes.contains("/Image") &&
                    bytes.contains("/Width 765"));
        if (!name.endsWith(u".SVG"))
            return;
        QXmlStreamReader svg(bytes);
        int lines = 0;
        QString text;
        while (!svg.atEnd()) {
            svg.readNext();
            lines += svg.isStartElement() && (svg.name() == u"polyline" || svg.name() == u"path");
            text += svg.isCharacters() ? svg.text() : QStringView();
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QVERIFY(lines > 100); // the ray fan, the spirals and the bars
        QVERIFY(text.contains(u"Probability"_s) && text.contains(u"Source"_s));
    }

    void picture_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("detector line at 5500, left half") << QPoint(366, 120) << black;
        QTest::newRow("detector line at 5500, right half") << QPoint(367, 450) << black;
        QTest::newRow("beside the detector line") << QPoint(369, 450) << grey;
        QTest::newRow("resultant leaving the detector on the axis") << QPoint(368, 233) << green;
        // The beam, drawn later, covers the right half of the source disc.
        QTest::newRow("filled source disc at (1700, 3500)") << QPoint(110, 233) << black;
        QTest::newRow("parallel beam") << QPoint(200, 400) << paleCyan;
        QTest::newRow("plot axis at 7500") << QPoint(500, 480) << black;
        QTest::newRow("beyond the widest bar") << QPoint(740, 400) << grey;
    }

    // The canvas holds the picture, and the window shows it where the controls leave room.
    void picture() {
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QCOMPARE(m_defaultPicture.pixelColor(at), colour);
        QCOMPARE(m_default->grab().toImage().pixelColor(at), colour);
    }

    void axisBar() {
        const double end = axisBarEnd();
        QVERIFY(end > 520 && end < 740);
        // Row 233 holds this bar alone; its neighbours, drawn later, overlap the rows beside it.
        QCOMPARE(m_defaultPicture.pixelColor(int(end) - 3, 233), black);
        QCOMPARE(m_defaultPicture.pixelColor(int(end) + 4, 233), grey);
    }

    // In a comma locale the presets read "0,6" and the run must still find "middle".
    void czechRunDrawsTheSamePicture() {
        QLocale::setDefault(czech);
        frmVelmora w;
        QCOMPARE(w.findChild<QLineEdit*>(u"nFi"_s)->text(), u"0,6"_s);
        pressStart(w);
        QVERIFY(w.picture() == m_defaultPicture);
    }

    void typeMismatchIsReportedAndSurvived() {
        frmVelmora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pressStart(w);
        const QPoint labelAt = w.findChild<QLabel*>(u"labDetektorB"_s)->pos();
        w.findChild<QLineEdit*>(u"nRozteč"_s)->setText(u"abc"_s);

        MessageBoxCloser closer;
        pressStart(w);
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.text(), u"Run-time error '13': Type mismatch"_s);
        QCOMPARE(closer.icon(), QMessageBox::Critical);

        // Erase band and source were drawn before the distance was read; nothing after.
        const QImage partial = w.picture();
        QCOMPARE(m_defaultPicture.pixelColor(510, 233), black);
        QCOMPARE(partial.pixelColor(510, 233), grey);
        QCOMPARE(partial.pixelColor(366, 120), grey);
        QCOMPARE(partial.pixelColor(200, 400), grey);
        QCOMPARE(partial.pixelColor(113, 233), black); // no beam over it this time
        QCOMPARE(w.findChild<QLabel*>(u"labDetektorB"_s)->pos(), labelAt);
        QCOMPARE(w.findChild<QLineEdit*>(u"nFi"_s)->text(), u"0.6"_s);
        QCOMPARE(w.findChild<QLineEdit*>(u"nSpomaleni"_s)->text(), u"1"_s);
        QVERIFY(w.isVisible());

        w.findChild<QRadioButton*>(u"opV400"_s)->click();
        pressStart(w);
        QCOMPARE(closer.count(), 1);
        QVERIFY(qAbs(w.findChild<QLabel*>(u"labDetektorB"_s)->x() - 6500 / 15.0) <= 0.5);
        QCOMPARE(w.picture().pixelColor(433, 450), black);
    }

    // A distance whose detector label would lie beyond any pixel: the label's move is a failed
    // write, reported as an overflow, not a label wrapped to the far left and a success.
    void labelBeyondAPixelOverflows_data() {
        QTest::addColumn<QString>("distance");
        QTest::newRow("1e10") << u"1e10"_s;
        QTest::newRow("-1e10") << u"-1e10"_s;
        QTest::newRow("1e30") << u"1e30"_s;
    }

    void labelBeyondAPixelOverflows() {
        QFETCH(QString, distance);
        frmVelmora w;
        w.findChild<QLineEdit*>(u"nRozteč"_s)->setText(distance);
        auto* label = w.findChild<QLabel*>(u"labDetektorB"_s);
        const QPoint before = label->pos();
        MessageBoxCloser closer;
        pressStart(w);
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.text(), u"Run-time error '6': Overflow"_s);
        QCOMPARE(label->pos(), before);
        QVERIFY(!w.findChild<QLabel*>(u"labClona"_s)->isHidden());
        QVERIFY(w.findChild<QLabel*>(u"labZdroj"_s)->isHidden());
    }

    void canvasThatCannotBeAllocated() {
        FlakyCanvasWindow w;
        MessageBoxCloser closer;
        pressStart(w);
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.text(), u"Run-time error '7': Out of memory"_s);
        QVERIFY(w.picture().isNull());
        QVERIFY(w.findChild<QLabel*>(u"labClona"_s)->isHidden());

        pressStart(w);
        QCOMPARE(closer.count(), 1);
        QVERIFY(w.picture() == m_defaultPicture);
        QVERIFY(!w.findChild<QLabel*>(u"labClona"_s)->isHidden());
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
