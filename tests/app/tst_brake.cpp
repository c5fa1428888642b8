// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The brake on a fake clock: it sleeps through most of a long wait, however late its wake-ups
// come, and still ends on time.
#include "brake.h"

#include <QtTest>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

// Each read costs 20 ns, as a spin's reads do; a sleep wakes `lateness` after the time asked.
struct FakeTime {
    using duration = nanoseconds;
    using time_point = std::chrono::time_point<FakeTime>;
    time_point t{};
    nanoseconds lateness{}, slept{};
    time_point now() { return t += 20ns; }
    void operator()(nanoseconds d) { slept += d, t += d + lateness; }
};

class TestBrake : public QObject {
    Q_OBJECT

private slots:
    void sleepsAndEndsOnTime_data() {
        QTest::addColumn<qint64>("wait"); // ns; the right end of the speed bar: 983011 x 18 ns
        QTest::addColumn<qint64>("lateness");
        QTest::addColumn<qint64>("minSlept");
        QTest::newRow("slowest, punctual sleeps") << 17'694'198LL << 0LL << 17'400'000LL;
        QTest::newRow("slowest, late wake-ups") << 17'694'198LL << 60'000LL << 17'000'000LL;
        QTest::newRow("shorter than the spin") << 150'000LL << 0LL << 0LL;
        QTest::newRow("nothing") << 0LL << 0LL << 0LL;
    }
    void sleepsAndEndsOnTime() {
        QFETCH(qint64, wait);
        QFETCH(qint64, lateness);
        QFETCH(qint64, minSlept);
        FakeTime time{{}, nanoseconds(lateness), {}};
        velmora::brakeWait(nanoseconds(wait), time, time);
        // Ends no earlier, and no later than a read and the first read after it.
        QVERIFY(time.t.time_since_epoch() >= nanoseconds(wait));
        QVERIFY(time.t.time_since_epoch() <= nanoseconds(wait) + (wait ? 40ns : 0ns));
        QVERIFY(time.slept >= nanoseconds(minSlept));
    }
};

QTEST_APPLESS_MAIN(TestBrake)
#include "tst_brake.moc"
