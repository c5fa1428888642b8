// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop's brake on a fake clock: it sleeps through most of a long wait, however late its
// wake-ups come, and still ends on time.
#include "brake.h"

#include <QtTest>

#include <chrono>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

// Every read costs a little time, as a spin's reads do; a sleep wakes `lateness` after it asked.
struct FakeTime {
    using duration = nanoseconds;
    using time_point = std::chrono::time_point<FakeTime>;
    time_point t{};
    nanoseconds lateness{};
    nanoseconds slept{};
    int reads = 0;
    time_point now() {
        ++reads;
        return t += 20ns;
    }
    void operator()(nanoseconds d) {
        slept += d;
        t += d + lateness;
    }
};

} // namespace

class TestBrake : public QObject {
    Q_OBJECT

private slots:
    void sleepsAndEndsOnTime_data() {
        QTest::addColumn<qint64>("wait");     // ns
        QTest::addColumn<qint64>("lateness"); // ns each wake-up comes after the asked time
        QTest::addColumn<qint64>("minSlept"); // ns
        // The right end of the scroll bar: 983011 units of 18 ns.
        QTest::newRow("slowest step, punctual sleeps") << 17'694'198LL << 0LL << 17'400'000LL;
        QTest::newRow("slowest step, late wake-ups") << 17'694'198LL << 60'000LL << 17'000'000LL;
        QTest::newRow("middle step") << 8'846'838LL << 30'000LL << 8'400'000LL;
        // Too short to sleep safely: spun.
        QTest::newRow("shorter than the spin") << 150'000LL << 0LL << 0LL;
        QTest::newRow("one unit") << 18LL << 0LL << 0LL;
    }
    void sleepsAndEndsOnTime() {
        QFETCH(qint64, wait);
        QFETCH(qint64, lateness);
        QFETCH(qint64, minSlept);
        FakeTime time;
        time.lateness = nanoseconds(lateness);
        const FakeTime::time_point start = time.t;
        velmora::brakeWait(nanoseconds(wait), time, time);
        const nanoseconds took = time.t - start;
        QVERIFY2(took >= nanoseconds(wait), qPrintable(QString::number(took.count())));
        // Over by no more than one read and the first read, whatever the lateness.
        QVERIFY2(took <= nanoseconds(wait) + 40ns, qPrintable(QString::number(took.count())));
        QVERIFY2(time.slept >= nanoseconds(minSlept),
                 qPrintable(QString::number(time.slept.count())));
    }

    void nothingToWaitReadsNoClock() {
        FakeTime time;
        velmora::brakeWait(0ns, time, time);
        velmora::brakeWait(-5ns, time, time);
        QCOMPARE(time.reads, 0);
    }
};

QTEST_APPLESS_MAIN(TestBrake)
#include "tst_brake.moc"
