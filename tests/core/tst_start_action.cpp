// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Start action's drawing calls, recorded: what is drawn, with which state, in which order,
// the worked figures of a default run, and where a run stops on a run-time error.
#include "number_text.h"
#include "run_time_error.h"

// moc cannot read the accented label names and needs none of these.
#ifndef Q_MOC_RUN
#include "qt_core.h"
#include "recording_surface.h"
#include "start_action.h"
#endif

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace velmora;
using namespace velmora::qt;
using namespace velmora::testing;
using Kind = SurfaceCall::Kind;

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);

PresetTexts presets(QString fi = numberToText(0.6, english), QString rozteč = QStringLiteral("350"),
                    QString spomaleni = QStringLiteral("1")) {
    return presetTexts(fi, rozteč, spomaleni);
}

enum class Phase {
    Other,
    Erase,
    Source,
    Beam,
    Opening,
    Diaphragm,
    Detector,
    Axis,
    Fan,
    Chain,
    Resultant,
    Dot,
    Bar,
    Present
};

// Tells the drawing's pieces apart by geometry and colour; detector line at x = 5500.
Phase phaseOf(const SurfaceCall& c) {
    if (c.isCircle())
        return c.radius() == 100 ? Phase::Source : Phase::Dot;
    if (!c.isLine())
        return Phase::Other;
    if (c.state.scaleMode == ScaleMode::Pixels)
        return Phase::Erase;
    if (c.colour == colours::green)
        return Phase::Resultant;
    if (c.colour == colours::paleCyan) {
        if (c.x1 == 3500 && c.y1 == 3500)
            return Phase::Fan;
        return c.x1 == 3500 ? Phase::Opening : Phase::Beam; // source rays and rows interleave
    }
    if (c.x1 == 3500 && c.x2 == 3500)
        return Phase::Diaphragm;
    if (c.x1 == c.x2 && c.y1 == 1500 && c.y2 == 7500)
        return c.x1 == 5500 ? Phase::Detector : Phase::Axis;
    if (c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2)
        return Phase::Bar;
    return Phase::Chain;
}

std::vector<const SurfaceCall*> callsOf(const RecordingSurface& s, Phase phase) {
    std::vector<const SurfaceCall*> out;
    for (const SurfaceCall& c : s.calls) {
        if (phaseOf(c) == phase)
            out.push_back(&c);
    }
    return out;
}

bool near(double actual, double expected, double tolerance = 0.01) {
    return std::fabs(actual - expected) <= tolerance;
}
} // namespace

class TestStartAction : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void defaultRunCounts_data();
    void defaultRunCounts();
    void drawingOrderAndFinalState_data();
    void drawingOrderAndFinalState();
    void secondRunErasesAtWidthOne();
    void workedFigures_data();
    void workedFigures();
    void scanShape();
    void unmatchedPresets_data();
    void unmatchedPresets();
    void runTimeErrors_data();
    void runTimeErrors();
    void everyPresetInEveryLocale_data();
    void everyPresetInEveryLocale();

private:
    RecordingSurface m_default; // one default run, shared by the read-only tests
};

using Geometry = std::function<bool(const SurfaceCall&, int index)>;
Q_DECLARE_METATYPE(Geometry)
Q_DECLARE_METATYPE(Phase)

void TestStartAction::initTestCase() {
    RecordingLabelBoard labels;
    runStartAction(presets(), m_default, labels, english);
}

void TestStartAction::defaultRunCounts_data() {
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<qint64>("colour"); // -1: none given, the foreground colour
    QTest::addColumn<Geometry>("geometry");
    const qint64 fg = -1;
    auto is = [](const SurfaceCall& c, float x1, float y1, float x2, float y2) {
        return c.x1 == x1 && c.y1 == y1 && c.x2 == x2 && c.y2 == y2;
    };
    auto filledDisc = [](const SurfaceCall& c) {
        return c.state.fillStyle == FillStyle::Solid && c.state.fillColor == colours::captionText;
    };
    QTest::newRow("erase rows") << Phase::Erase << 611 << 1 << qint64(colours::lightGrey)
                                << Geometry([=](const SurfaceCall& c, int i) {
                                       return is(c, 5, 40 + i, 800, 40 + i);
                                   });
    QTest::newRow("source circle")
        << Phase::Source << 1 << 2 << fg << Geometry([=](const SurfaceCall& c, int) {
               return c.x1 == 1700 && c.y1 == 3500 && filledDisc(c);
           });
    QTest::newRow("source rays and beam rows")
        << Phase::Beam << 1200 << 1 << qint64(colours::paleCyan)
        << Geometry([=](const SurfaceCall& c, int i) {
               const float y = 7499 - 10 * (i / 2);
               return i % 2 == 0 ? is(c, 1700, 3500, 2500, y) : is(c, 2500, y, 3500, y);
           });
    QTest::newRow("opening rows") << Phase::Opening << 2000 << 1 << qint64(colours::paleCyan)
                                  << Geometry([=](const SurfaceCall& c, int i) {
                                         const float y = 3500 + (i % 2 ? 1 : -1) * (i / 2 + 1);
                                         return is(c, 3500, y, 3600, y);
                                     });
    QTest::newRow("diaphragm") << Phase::Diaphragm << 2 << 2 << fg
                               << Geometry([=](const SurfaceCall& c, int i) {
                                      return i == 0 ? is(c, 3500, 1500, 3500, 2500)
                                                    : is(c, 3500, 7500, 3500, 4500);
                                  });
    QTest::newRow("detector line")
        << Phase::Detector << 1 << 2 << fg
        << Geometry([=](const SurfaceCall& c, int) { return is(c, 5500, 1500, 5500, 7500); });
    QTest::newRow("plot axis") << Phase::Axis << 1 << 1 << fg
                               << Geometry([=](const SurfaceCall& c, int) {
                                      return is(c, 7500, 1500, 7500, 7500);
                                  });
    QTest::newRow("ray fan") << Phase::Fan << 13 << 1 << qint64(colours::paleCyan)
                             << Geometry([=](const SurfaceCall& c, int i) {
                                    return is(c, 3500, 3500, 5500, 7499 - 500 * i);
                                });
    QTest::newRow("chain segments, one StepLength long")
        << Phase::Chain << 24245 << 1 << fg << Geometry([](const SurfaceCall& c, int) {
               return near(std::hypot(c.x2 - c.x1, c.y2 - c.y1), 1, 1e-3);
           });
    QTest::newRow("resultants from the detector point")
        << Phase::Resultant << 12 << 2 << qint64(colours::green)
        << Geometry(
               [](const SurfaceCall& c, int i) { return c.x1 == 5500 && c.y1 == 7000 - 500 * i; });
    QTest::newRow("dots") << Phase::Dot << 221 << 2 << fg
                          << Geometry([=](const SurfaceCall& c, int i) {
                                 return c.x1 == 7500 && c.y1 == 7000 - 25 * i && c.radius() == 1 &&
                                        filledDisc(c);
                             });
    QTest::newRow("bars pointing right")
        << Phase::Bar << 221 << 2 << fg << Geometry([](const SurfaceCall& c, int i) {
               return c.y1 == 7000 - 25 * i && c.x2 >= 7500;
           });
}

void TestStartAction::defaultRunCounts() {
    QFETCH(Phase, phase);
    QFETCH(int, count);
    QFETCH(int, drawWidth);
    QFETCH(qint64, colour);
    QFETCH(Geometry, geometry);
    const auto calls = callsOf(m_default, phase);
    QCOMPARE(int(calls.size()), count);
    const auto expectedColour = colour < 0 ? std::nullopt : std::optional(Colour(colour));
    for (int i = 0; i < count; ++i) {
        const SurfaceCall& c = *calls[i];
        QCOMPARE(c.state.drawWidth, drawWidth);
        QCOMPARE(c.colour, expectedColour);
        QCOMPARE(c.state.scaleMode, phase == Phase::Erase ? ScaleMode::Pixels : ScaleMode::Twips);
        QVERIFY2(geometry(c, i), qPrintable(QStringLiteral("call %1 of the phase").arg(i)));
    }
    QCOMPARE(m_default.nonFiniteArguments, 0);
}

void TestStartAction::drawingOrderAndFinalState_data() {
    QTest::addColumn<QString>("delayCount");
    QTest::addColumn<bool>("presentEveryStep");
    // 55556 units wait just over a millisecond a step, the shortest pause shown step by step.
    QTest::newRow("no pause: shown with each spiral") << QStringLiteral("1") << false;
    QTest::newRow("a pause: every step shown before it") << QStringLiteral("55556") << true;
}

void TestStartAction::drawingOrderAndFinalState() {
    QFETCH(QString, delayCount);
    QFETCH(bool, presentEveryStep);
    RecordingSurface surface;
    RecordingLabelBoard labels(&surface);
    runStartAction(presets(numberToText(0.6, english), QStringLiteral("350"), delayCount), surface,
                   labels, english);

    std::vector<Phase> expected{Phase::Erase,     Phase::Source,   Phase::Beam, Phase::Opening,
                                Phase::Diaphragm, Phase::Detector, Phase::Axis, Phase::Fan};
    if (presentEveryStep)
        expected.push_back(Phase::Present); // the scene, before the first pause
    for (int scanY = 500; scanY <= 6000; scanY += 25) {
        expected.push_back(Phase::Chain);
        if (scanY % 500 == 0)
            expected.push_back(Phase::Resultant);
        expected.insert(expected.end(), {Phase::Dot, Phase::Bar});
        if (presentEveryStep || scanY % 500 == 0)
            expected.push_back(Phase::Present);
    }
    std::vector<Phase> runs;
    for (const SurfaceCall& c : surface.calls) {
        const Phase p = c.kind == Kind::Present ? Phase::Present : phaseOf(c);
        if (p != Phase::Other && (runs.empty() || runs.back() != p))
            runs.push_back(p);
    }
    QVERIFY(runs == expected);

    const std::size_t all = surface.calls.size();
    const std::vector<ShownLabel> shown{{ResultLabel::labClona, 2300, 1000, all},
                                        {ResultLabel::labDetektorB, 5500, 1000, all},
                                        {ResultLabel::labPravděpodobnost, 8000, 990, all},
                                        {ResultLabel::labZdroj, 850, 3400, all}};
    QVERIFY(labels.shown == shown);
    QVERIFY(surface.state() ==
            (DrawState{ScaleMode::Twips, 1, colours::captionText, FillStyle::Solid}));
}

void TestStartAction::secondRunErasesAtWidthOne() {
    // A surface left at width 2 by something else: the band keeps whatever width is current.
    RecordingSurface surface({ScaleMode::Pixels, 2, 0, FillStyle::Transparent});
    RecordingLabelBoard labels;
    std::vector<std::vector<SurfaceCall>> runs;
    for (int run = 0; run < 3; ++run) {
        runStartAction(presets(), surface, labels, english);
        runs.push_back(std::exchange(surface.calls, {}));
    }
    auto eraseWidths = [](const std::vector<SurfaceCall>& calls) {
        std::vector<int> widths;
        for (const SurfaceCall& c : calls) {
            if (phaseOf(c) == Phase::Erase)
                widths.push_back(c.state.drawWidth);
        }
        return widths;
    };
    QCOMPARE(eraseWidths(runs[0]), std::vector<int>(611, 2));
    QCOMPARE(eraseWidths(runs[1]), std::vector<int>(611, 1));
    QVERIFY(runs[1] == runs[2]); // the same presets repeat exactly the same calls
}

void TestStartAction::workedFigures_data() {
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<float>("startX");
    QTest::addColumn<float>("startY");
    QTest::addColumn<double>("endX");
    QTest::addColumn<double>("endY");
    QTest::newRow("extra phasor at 4000")
        << Phase::Chain << 5500.0f << 4000.0f << 5500.8623 << 3999.4936;
    QTest::newRow("resultant at 4000")
        << Phase::Resultant << 5500.0f << 4000.0f << 6016.2496 << 4161.2949;
    QTest::newRow("bar at 4000") << Phase::Bar << 7500.0f << 4000.0f << 7500 + 2632.77 << 4000.0;
    QTest::newRow("bar at 3975") << Phase::Bar << 7500.0f << 3975.0f << 7500 + 2418.10 << 3975.0;
    QTest::newRow("extra phasor at 3975")
        << Phase::Chain << 5500.0f << 3975.0f << 5500.8623 << 3974.4936;
}

void TestStartAction::workedFigures() {
    QFETCH(Phase, phase);
    QFETCH(float, startX);
    QFETCH(float, startY);
    QFETCH(double, endX);
    QFETCH(double, endY);
    const auto calls = callsOf(m_default, phase);
    const auto it = std::find_if(calls.begin(), calls.end(), [&](const SurfaceCall* c) {
        return c->x1 == startX && c->y1 == startY;
    });
    QVERIFY(it != calls.end());
    QVERIFY2(near((*it)->x2, endX) && near((*it)->y2, endY),
             qPrintable(QStringLiteral("ends at (%1, %2)")
                            .arg((*it)->x2, 0, 'f', 4)
                            .arg((*it)->y2, 0, 'f', 4)));
}

void TestStartAction::scanShape() {
    // Longest and shortest bar of a default run.
    const auto bars = callsOf(m_default, Phase::Bar);
    const auto [shortest, longest] =
        std::minmax_element(bars.begin(), bars.end(), [](auto a, auto b) { return a->x2 < b->x2; });
    QVERIFY2(near((*longest)->x2 - 7500, 3457.5, 0.05),
             qPrintable(QString::number((*longest)->x2)));
    QVERIFY2(near((*shortest)->x2 - 7500, 0.37, 0.005),
             qPrintable(QString::number((*shortest)->x2)));

    // Each spiral's segments join end to end; the extra phasor points the same way at every step.
    const SurfaceCall* previous = nullptr;
    int extras = 0;
    for (const SurfaceCall& c : m_default.calls) {
        if (phaseOf(c) != Phase::Chain) {
            previous = nullptr;
            continue;
        }
        if (previous) {
            QCOMPARE(c.x1, previous->x2);
            QCOMPARE(c.y1, previous->y2);
        } else {
            ++extras;
            QVERIFY(c.x1 == 5500 && near(c.x2 - c.x1, 0.8623, 1e-3) &&
                    near(c.y2 - c.y1, -0.5064, 1e-3));
        }
        previous = &c;
    }
    QCOMPARE(extras, 221);
}

void TestStartAction::unmatchedPresets_data() {
    QTest::addColumn<QString>("fi");
    QTest::addColumn<QString>("rozteč");
    QTest::addColumn<double>("barFactor"); // relative to the default run's bars
    QTest::newRow("frequency written with a comma")
        << QStringLiteral("0,6") << QStringLiteral("350") << 0.0;
    QTest::newRow("frequency empty") << QString() << QStringLiteral("350") << 0.0;
    QTest::newRow("distance 350 with a leading zero")
        << numberToText(0.6, english) << QStringLiteral("0350") << 1 / 0.009;
}

void TestStartAction::unmatchedPresets() {
    QFETCH(QString, fi);
    QFETCH(QString, rozteč);
    QFETCH(double, barFactor);
    RecordingSurface surface;
    RecordingLabelBoard labels;
    runStartAction(presets(fi, rozteč), surface, labels, english);

    QCOMPARE(callsOf(surface, Phase::Detector).size(), std::size_t(1)); // still at x = 5500
    QCOMPARE(callsOf(surface, Phase::Dot).size(), std::size_t(221));
    const auto bars = callsOf(surface, Phase::Bar);
    const auto defaultBars = callsOf(m_default, Phase::Bar);
    QCOMPARE(bars.size(), defaultBars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const double expected = (defaultBars[i]->x2 - 7500) * barFactor;
        QVERIFY2(near(bars[i]->x2 - 7500, expected, 1e-3 * std::max(barFactor, 1.0)),
                 qPrintable(QStringLiteral("bar %1").arg(i)));
    }
    if (barFactor == 0) {
        for (Phase p : {Phase::Chain, Phase::Resultant}) {
            for (const SurfaceCall* c : callsOf(surface, p))
                QVERIFY(c->x1 == c->x2 && c->y1 == c->y2);
        }
    }
}

void TestStartAction::runTimeErrors_data() {
    QTest::addColumn<QString>("rozteč");
    QTest::addColumn<QString>("spomaleni");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("lines");
    const QString mismatch = QStringLiteral("Run-time error '13': Type mismatch");
    const QString overflow = QStringLiteral("Run-time error '6': Overflow");
    const QString one = QStringLiteral("1");
    const int erase = 611, scene = 611 + 1200 + 2000 + 2 + 1 + 1 + 13;
    QTest::newRow("distance not a number") << QStringLiteral("abc") << one << mismatch << erase;
    QTest::newRow("distance empty") << QString() << one << mismatch << erase;
    QTest::newRow("distance product overflows")
        << QStringLiteral("1e308") << one << overflow << erase;
    QTest::newRow("distance infinite") << QStringLiteral("inf") << one << overflow << erase;
    QTest::newRow("distance NaN") << QStringLiteral("nan") << one << overflow << erase;
    // Finite in double, but the detector line cannot be handed over in single precision.
    QTest::newRow("distance beyond single precision")
        << QStringLiteral("1e200") << one << overflow << erase + 1200 + 2000 + 2;
    QTest::newRow("delay not a number")
        << QStringLiteral("350") << QStringLiteral("abc") << mismatch << scene;
    QTest::newRow("delay NaN") << QStringLiteral("350") << QStringLiteral("nan") << overflow
                               << scene;
}

void TestStartAction::runTimeErrors() {
    QFETCH(QString, rozteč);
    QFETCH(QString, spomaleni);
    QFETCH(QString, message);
    QFETCH(int, lines);
    RecordingSurface surface;
    RecordingLabelBoard labels;
    QString raised;
    try {
        runStartAction(presets(numberToText(0.6, english), rozteč, spomaleni), surface, labels,
                       english);
    } catch (const RunTimeError& e) {
        raised = qt::message(e);
    }
    QCOMPARE(raised, message);
    const auto count = [&](Kind kind) {
        return std::count_if(surface.calls.begin(), surface.calls.end(),
                             [&](const SurfaceCall& c) { return c.kind == kind; });
    };
    QCOMPARE(count(Kind::Line), lines);
    QCOMPARE(count(Kind::Circle), 1); // the source only: no scan step drew its dot
    QCOMPARE(count(Kind::Present), 0);
    QCOMPARE(surface.nonFiniteArguments, 0);
    QVERIFY(labels.shown.empty());
}

// Bar length straight from the phasor sum, independent of the scan's own walk.
double referenceBar(double step, double phase, double detectorX, double detectorY, double scale) {
    double x = step * std::cos(phase * (detectorX - 3500));
    double y = step * std::sin(phase * (detectorX - 3500));
    for (int s = 0; s <= 1000; ++s) {
        for (const double sampleY : {3500.0 - s, 3500.0 + s}) {
            const double r = std::hypot(detectorX - 3500, sampleY - detectorY);
            x += step * std::cos(phase * r);
            y += step * std::sin(phase * r);
        }
    }
    return (x * x + y * y) * scale;
}

void TestStartAction::everyPresetInEveryLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("fi");
    QTest::addColumn<QString>("rozteč");
    QTest::addColumn<double>("stepLength");
    QTest::addColumn<double>("phaseFactor");
    QTest::addColumn<double>("detectorX");
    QTest::addColumn<double>("scale");
    const std::pair<const char*, QLocale> locales[] = {
        {"en", english},
        {"cs", QLocale(QLocale::Czech, QLocale::CzechRepublic)},
        {"ar", QLocale(QLocale::Arabic, QLocale::Egypt)},
        {"fa", QLocale(QLocale::Persian, QLocale::Iran)}};
    // What the option buttons write: whole numbers as plain digits, fractions by numberToText.
    const struct {
        const char* caption;
        double preset, stepLength, phaseFactor;
    } frequencies[] = {{"higher", 5, 10, 5},
                       {"high", 1, 1.5, 0.1},
                       {"middle", 0.6, 1, 0.05},
                       {"low", 0.2, 0.4, 0.01},
                       {"lower", 0.03, 0.18, 0.0015}};
    const struct {
        const char* text;
        double detectorX, scale;
    } distances[] = {{"300", 4500, 0.017}, {"350", 5500, 0.009}, {"400", 6500, 0.006}};
    for (const auto& [name, locale] : locales) {
        for (const auto& f : frequencies) {
            const QString fi =
                f.preset >= 1 ? QString::number(int(f.preset)) : numberToText(f.preset, locale);
            for (const auto& d : distances) {
                QTest::addRow("%s: %s, %s", name, f.caption, d.text)
                    << locale << fi << QString::fromLatin1(d.text) << f.stepLength << f.phaseFactor
                    << d.detectorX << d.scale;
            }
        }
    }
}

void TestStartAction::everyPresetInEveryLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, fi);
    QFETCH(QString, rozteč);
    QFETCH(double, stepLength);
    QFETCH(double, phaseFactor);
    QFETCH(double, detectorX);
    QFETCH(double, scale);
    RecordingSurface surface;
    RecordingLabelBoard labels;
    runStartAction(presets(fi, rozteč), surface, labels, locale);

    int resultants = 0;
    std::vector<const SurfaceCall*> bars;
    for (const SurfaceCall& c : surface.calls) {
        if (c.isLine() && c.colour == colours::green) {
            ++resultants;
            QCOMPARE(c.x1, float(detectorX));
            QVERIFY2(c.x1 != c.x2 || c.y1 != c.y2, "resultant of zero length");
        } else if (c.isLine() && c.x1 == 7500 && c.y1 == c.y2 && c.state.drawWidth == 2) {
            bars.push_back(&c);
        }
    }
    QCOMPARE(resultants, 12);
    QCOMPARE(int(bars.size()), 221);
    for (const int i : {0, 120, 220}) { // y = 7000, a spiral step at 4000, y = 1500
        const double expected =
            referenceBar(stepLength, phaseFactor, detectorX, bars[i]->y1, scale);
        QVERIFY2(near(bars[i]->x2 - 7500, expected, std::max(0.01, 1e-6 * expected)),
                 qPrintable(QStringLiteral("bar at y %1: %2, expected %3")
                                .arg(bars[i]->y1)
                                .arg(bars[i]->x2 - 7500)
                                .arg(expected)));
    }
}

QTEST_APPLESS_MAIN(TestStartAction)
#include "tst_start_action.moc"
