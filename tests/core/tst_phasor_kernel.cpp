// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every chain kernel this CPU can run, forced in turn, against the scalar walk: every preset's
// chains pen position by pen position, and the worked figures of a default run.
#include "number_text.h"
#include "phasor_chain.h"
#include "phasor_kernel.h"
#include "presets.h"
#include "scene.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace velmora;

namespace {
constexpr MathTarget targets[] = {MathTarget::Scalar, MathTarget::Sse2, MathTarget::Avx2,
                                  MathTarget::Avx512};

struct Step {
    Pen from, to;
    bool extra;
};

std::vector<Step> steps(bool vector, double detectorX, double detectorY, Frequency f, Pen& end) {
    std::vector<Step> out;
    const auto record = [&](Pen from, Pen to, bool extra) { out.push_back({from, to, extra}); };
    end = vector ? walkPhasorChain(detectorX, detectorY, f, record)
                 : walkPhasorChainScalar(detectorX, detectorY, f, record);
    return out;
}

bool near(Pen a, Pen b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}
} // namespace

Q_DECLARE_METATYPE(MathTarget)

class TestPhasorKernel : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { resetMathTarget(); }
    void chainsMatchTheScalarWalk_data();
    void chainsMatchTheScalarWalk();
    void workedFigures_data();
    void workedFigures();
};

void TestPhasorKernel::chainsMatchTheScalarWalk_data() {
    QTest::addColumn<MathTarget>("target");
    QTest::addColumn<double>("fi");
    QTest::addColumn<QString>("distance");
    for (MathTarget t : targets) {
        for (double fi : {5.0, 1.0, 0.6, 0.2, 0.03}) {
            for (const char* d : {"300", "350", "400"}) {
                QTest::addRow("%s, frequency %g, distance %s", mathTargetName(t), fi, d)
                    << t << fi << QString::fromLatin1(d);
            }
        }
    }
}

void TestPhasorKernel::chainsMatchTheScalarWalk() {
    QFETCH(MathTarget, target);
    QFETCH(double, fi);
    QFETCH(QString, distance);
    if (!setMathTarget(target))
        QSKIP("this CPU lacks the target");
    QCOMPARE(mathTarget(), target);
    const Frequency f = frequencyFor(numberToText(fi));
    QVERIFY(f.stepLength > 0);
    const double detectorX = detectorXFor(distance.toStdString(), scene::apertureX);
    // Every fifth detector point of the scan, both ends included.
    for (int scanY = 500; scanY <= 6000; scanY += 125) {
        const double detectorY = scene::sceneBottom - scanY;
        Pen vectorEnd{}, scalarEnd{};
        const auto v = steps(true, detectorX, detectorY, f, vectorEnd);
        const auto s = steps(false, detectorX, detectorY, f, scalarEnd);
        QCOMPARE(v.size(), std::size_t(chainLength));
        QCOMPARE(s.size(), std::size_t(chainLength));
        std::size_t i = 0;
        while (i < v.size() && v[i].extra == (i == 0) && near(v[i].from, s[i].from, 1e-6) &&
               near(v[i].to, s[i].to, 1e-6))
            ++i;
        QVERIFY2(i == v.size(),
                 qPrintable(
                     QStringLiteral("y %1: phasor %2 of the chain differs").arg(detectorY).arg(i)));
        QVERIFY(near(vectorEnd, v.back().to, 0) && near(scalarEnd, s.back().to, 0));
    }
}

void TestPhasorKernel::workedFigures_data() {
    QTest::addColumn<MathTarget>("target");
    for (MathTarget t : targets)
        QTest::newRow(mathTargetName(t)) << t;
}

void TestPhasorKernel::workedFigures() {
    QFETCH(MathTarget, target);
    if (!setMathTarget(target))
        QSKIP("this CPU lacks the target");
    const Frequency f = frequencyFor(numberToText(0.6));
    Pen extraEnd{};
    const Pen end = walkPhasorChain(5500, 4000, f, [&](Pen, Pen to, bool extra) {
        if (extra)
            extraEnd = to;
    });
    QVERIFY(near(extraEnd, {5500.8623, 3999.4936}, 0.01));
    QVERIFY2(near(end, {6016.2496, 4161.2949}, 0.01),
             qPrintable(QStringLiteral("(%1, %2)").arg(end.x, 0, 'f', 4).arg(end.y, 0, 'f', 4)));
    const double squared = std::pow(5500 - end.x, 2) + std::pow(4000 - end.y, 2);
    QVERIFY2(std::fabs(squared - 292529.71) <= 0.01, qPrintable(QString::number(squared, 'f', 4)));
}

QTEST_APPLESS_MAIN(TestPhasorKernel)
#include "tst_phasor_kernel.moc"
