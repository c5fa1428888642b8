// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a run reports back, and the sentences a listener hears about it: the bars really drawn,
// the maxima counted from them, and the exact wording for two preset pairs and a blank run.
#include "number_text.h"
#include "run_report.h"

// moc cannot read the accented label names and needs none of these.
#ifndef Q_MOC_RUN
#include "qt_core.h"
#include "recording_surface.h"
#include "start_action.h"
#endif

#include <QTest>

#include <algorithm>

using namespace velmora;
using namespace velmora::qt;
using namespace velmora::testing;
using namespace Qt::StringLiterals;

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);

RunReport run(double fi, const QString& rozteč) {
    RecordingSurface surface;
    RecordingLabelBoard labels;
    return runStartAction(presetTexts(numberToText(fi, english), rozteč, u"0"_s), surface, labels,
                          english);
}
} // namespace

class TestRunReport : public QObject {
    Q_OBJECT

private slots:
    void defaultRunReportsItsBars() {
        const RunReport report = run(0.6, u"350"_s);
        QCOMPARE(toQString(report.frequencyCaption), u"middle"_s);
        QCOMPARE(toQString(report.distanceCaption), u"350"_s);
        QCOMPARE(report.detectorX, 5500.0);
        QCOMPARE(report.intensities.size(), std::size_t(221));
        // Bottom to top: ScanY 3500 is the 121st step, y = 4000.
        QVERIFY(qAbs(report.intensities[120] - 2632.77) < 0.01);
        QVERIFY(qAbs(report.intensities[121] - 2418.10) < 0.01);
        QVERIFY(qAbs(*std::ranges::max_element(report.intensities) - 3457.5) < 0.1);
        QVERIFY(qAbs(*std::ranges::min_element(report.intensities) - 0.37) < 0.01);
    }

    void maxima_data() {
        QTest::addColumn<std::vector<double>>("bars");
        QTest::addColumn<QList<int>>("peaks"); // indexes, strongest first
        QTest::newRow("flat") << std::vector<double>(5, 0.0) << QList<int>{};
        QTest::newRow("plateau counts once, at its middle")
            << std::vector<double>{0, 5, 5, 5, 0} << QList<int>{2};
        QTest::newRow("ripple under a twentieth is no maximum")
            << std::vector<double>{0, 100, 50, 54, 50, 80, 0} << QList<int>{1, 5};
        QTest::newRow("rising to the detector's end")
            << std::vector<double>{1, 2, 3, 10} << QList<int>{3};
        QTest::newRow("strongest first")
            << std::vector<double>{0, 3, 0, 9, 0, 6, 0} << QList<int>{3, 5, 1};
    }
    void maxima() {
        QFETCH(std::vector<double>, bars);
        QFETCH(QList<int>, peaks);
        QList<int> found;
        for (const PatternPeak& peak : patternMaxima(bars))
            found << peak.index;
        QCOMPARE(found, peaks);
    }

    void wording_data() {
        QTest::addColumn<double>("fi");
        QTest::addColumn<QString>("rozteč");
        QTest::addColumn<QString>("summary");
        QTest::newRow("middle 350, the default")
            << 0.6 << u"350"_s
            << u"Drawn with frequency middle and distance 350. The intensity pattern along the "
               u"detector has 4 maxima. The strongest are two equal maxima, in the centre and near "
               u"the top of the detector, at 53% and 74% of its height. The others reach 91% of "
               u"them."_s;
        QTest::newRow("low 350, one maximum")
            << 0.2 << u"350"_s
            << u"Drawn with frequency low and distance 350. The intensity pattern along the "
               u"detector has 1 maximum. The strongest lies in the centre of the detector, at 64% "
               u"of its height. It is the only one; away from it the bars fall to 1% of its "
               u"length."_s;
        QTest::newRow("frequency text no preset: nothing drawn")
            << 0.7 << u"350"_s
            << u"Drawn with a frequency that is no preset and distance 350. Every intensity bar "
               u"has length 0: no pattern was drawn."_s;
    }
    void wording() {
        QFETCH(double, fi);
        QFETCH(QString, rozteč);
        QFETCH(QString, summary);
        QCOMPARE(toQString(describeRun(run(fi, rozteč))), summary);
    }
};

QTEST_GUILESS_MAIN(TestRunReport)
#include "tst_run_report.moc"
