// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The image canvas after a default run: a few telling pixels, the per-step presenter rectangles
// and the device pixel ratio.
#include "canvas.h"
#include "number_text.h"

// moc cannot read the accented label names and needs none of these.
#ifndef Q_MOC_RUN
#include "core_text.h"
#include "recording_surface.h"
#include "start_action.h"
#endif

#include <QPainter>
#include <QTest>

using namespace velmora;
using namespace velmora::testing;

namespace {
const QSize logicalSize(765, 560);
const QColor background = Canvas::toQColor(colours::lightGrey);
const QColor foreground = Canvas::toQColor(colours::buttonText);

ParameterStore defaults() {
    return {"0.6", "350", "1"};
}
} // namespace

class TestCanvas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pixels_data();
    void pixels();
    void presenterShowsEachBar();
    void devicePixelRatio_data();
    void devicePixelRatio();
    void rowsMatchTheLineRasteriser_data();
    void rowsMatchTheLineRasteriser();
    void circlesMatchTheEllipseRasteriser_data();
    void circlesMatchTheEllipseRasteriser();

private:
    std::unique_ptr<Canvas> m_canvas;
    std::vector<QRect> m_presented;
    RecordingSurface m_recorded; // the same run's calls, to know where each bar lies
};

void TestCanvas::initTestCase() {
    m_canvas = std::make_unique<Canvas>(logicalSize);
    m_canvas->setPresenter([this](const QRect& r) { m_presented.push_back(r); });
    RecordingLabelBoard labels;
    runStartAction(defaults(), *m_canvas, labels);
    runStartAction(defaults(), m_recorded, labels);
}

void TestCanvas::pixels_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    // The bar at y = 4000 twips (row 266.67) ends near x = 10132.77 twips (675.5 px); the bars
    // next to it are 1.67 px away, so row 266 is this bar's alone.
    QTest::newRow("bar at 4000, inside") << QPoint(673, 266) << foreground;
    QTest::newRow("bar at 4000, past its end") << QPoint(678, 266) << background;
    QTest::newRow("bar at 4000, near the axis") << QPoint(520, 266) << foreground;
    QTest::newRow("detector line") << QPoint(366, 110) << foreground;
    QTest::newRow("left of the detector line") << QPoint(362, 110) << background;
    QTest::newRow("resultant at 4000") << QPoint(384, 272) << QColor(0, 255, 0);
    QTest::newRow("source disc, left of its centre")
        << QPoint(110, 233) << Canvas::toQColor(colours::captionText);
    QTest::newRow("beam") << QPoint(200, 300) << QColor(192, 255, 255);
    QTest::newRow("opening band") << QPoint(237, 200) << QColor(192, 255, 255);
    QTest::newRow("diaphragm above the opening") << QPoint(233, 150) << foreground;
}

void TestCanvas::pixels() {
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    QCOMPARE(m_canvas->image().pixelColor(pixel), colour);
}

void TestCanvas::presenterShowsEachBar() {
    std::vector<QPointF> barEnds;
    for (const SurfaceCall& c : m_recorded.calls) {
        if (c.isLine() && c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2)
            barEnds.push_back(QPointF(c.x2, c.y2) / form::twipsPerPixel);
    }
    QCOMPARE(barEnds.size(), std::size_t(221));
    // Without a pause the steps are shown with each spiral: bar 0, then bars 1 to 20, ...
    QCOMPARE(m_presented.size(), std::size_t(12));
    for (std::size_t i = 0; i < barEnds.size(); ++i) {
        const QRect& r = m_presented[(i + 19) / 20];
        QVERIFY(!r.isEmpty());
        QVERIFY2(r.contains(QPointF(500, barEnds[i].y()).toPoint()) &&
                     r.contains(barEnds[i].toPoint()),
                 qPrintable(QStringLiteral("step %1").arg(i)));
    }
}

void TestCanvas::devicePixelRatio_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("imageSize");
    QTest::newRow("1") << qreal(1) << QSize(765, 560);
    QTest::newRow("2") << qreal(2) << QSize(1530, 1120);
}

void TestCanvas::devicePixelRatio() {
    QFETCH(qreal, ratio);
    QFETCH(QSize, imageSize);
    Canvas canvas(logicalSize, ratio);
    canvas.setDrawWidth(2);
    canvas.Line(5500, 1500, 5500, 7500); // the detector line, at 366.67 logical px
    const QImage& image = canvas.image();
    QCOMPARE(image.size(), imageSize);
    QCOMPARE(image.pixelColor(QPointF(QPointF(366.5, 200) * ratio).toPoint()), foreground);
    QCOMPARE(image.pixelColor(QPointF(QPointF(362.5, 200) * ratio).toPoint()), background);
}

// Thin horizontal lines take a rectangle fill; it must paint exactly what QPainter's line would.
void TestCanvas::rowsMatchTheLineRasteriser_data() {
    QTest::addColumn<QLineF>("line"); // pixels
    QTest::newRow("erase row") << QLineF(5, 40, 800, 40);
    QTest::newRow("opening row, twips in pixels")
        << QLineF(3500 / 15.0, 3499 / 15.0, 3600 / 15.0, 3499 / 15.0);
    QTest::newRow("drawn right to left") << QLineF(300.75, 100.5, 12.25, 100.5);
    QTest::newRow("ends just below a pixel edge") << QLineF(9.999, 20.999, 30.999, 20.999);
    QTest::newRow("shorter than a pixel") << QLineF(50.2, 60.7, 50.3, 60.7);
    QTest::newRow("reaching past both edges") << QLineF(-40.5, 10, 900.5, 10);
    QTest::newRow("above the image") << QLineF(10, -3.5, 90, -3.5);
    QTest::newRow("vertical, not a row") << QLineF(70.4, 10.2, 70.4, 90.9);
    QTest::newRow("slanted, not a row") << QLineF(10.1, 10.2, 200.7, 12.9);
}

void TestCanvas::rowsMatchTheLineRasteriser() {
    QFETCH(QLineF, line);
    Canvas canvas(logicalSize);
    canvas.setScaleMode(ScaleMode::Pixels);
    const QLineF single(float(line.x1()), float(line.y1()), float(line.x2()), float(line.y2()));
    canvas.Line(float(line.x1()), float(line.y1()), float(line.x2()), float(line.y2()));

    QImage expected(logicalSize, QImage::Format_RGB32);
    expected.fill(background);
    QPainter painter(&expected);
    painter.setPen(QPen(foreground, 1));
    painter.drawLine(single);
    painter.end();
    QCOMPARE(canvas.image(), expected);
}

// Small circles are copied from sprites; they must paint exactly what QPainter's ellipse would.
void TestCanvas::circlesMatchTheEllipseRasteriser_data() {
    QTest::addColumn<QList<QPointF>>("centres"); // twips, drawn in turn
    QTest::addColumn<float>("radius");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("filled");
    QList<QPointF> dots;
    for (int y = 7000; y >= 1500; y -= 25)
        dots << QPointF(7500, y);
    QTest::newRow("every dot of a run") << dots << 1.0f << 2 << true;
    QTest::newRow("the source disc") << QList<QPointF>{{1700, 3500}} << 100.0f << 2 << true;
    // 256 px is 3840 twips: the same sub-pixel offset on both sides of an exponent change.
    QTest::newRow("across 256 px")
        << QList<QPointF>{{3825.5, 3815}, {3840, 3840}, {3855.5, 3855}, {3900.5, 3900}} << 7.0f << 1
        << false;
    QTest::newRow("a third of a pixel apart")
        << QList<QPointF>{{1500, 1500}, {1800, 1505}, {1505, 1810}, {1810, 1800}} << 30.0f << 1
        << false;
    QTest::newRow("at the image's edges")
        << QList<QPointF>{{10, 10}, {11480, 8395}, {-20, 400}} << 1.0f << 2 << true;
}

void TestCanvas::circlesMatchTheEllipseRasteriser() {
    QFETCH(QList<QPointF>, centres);
    QFETCH(float, radius);
    QFETCH(int, width);
    QFETCH(bool, filled);
    Canvas canvas(logicalSize);
    canvas.setDrawWidth(width);
    canvas.setFillColor(colours::paleCyan);
    canvas.setFillStyle(filled ? FillStyle::Solid : FillStyle::Transparent);

    QImage expected(logicalSize, QImage::Format_RGB32);
    expected.fill(background);
    QPainter painter(&expected);
    painter.setPen(QPen(foreground, width));
    painter.setBrush(filled ? QBrush(Canvas::toQColor(colours::paleCyan)) : QBrush());
    for (const QPointF& c : centres) {
        canvas.Circle(float(c.x()), float(c.y()), radius);
        const double r = double(radius) / form::twipsPerPixel;
        painter.drawEllipse(
            QPointF(double(float(c.x())), double(float(c.y()))) / form::twipsPerPixel, r, r);
    }
    painter.end();
    QCOMPARE(canvas.image(), expected);
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
