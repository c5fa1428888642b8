// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Many runs in one window must not leak: the memory after the last run stays where it was
// once the first runs had warmed every cache up.
#include "frm_velmora.h"

#include <QFile>
#include <QRadioButton>
#include <QTest>

#include <array>

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_ASAN 1
#endif
#endif

namespace {

// Resident set size in kB, as the kernel reports it.
long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

class tst_Soak : public QObject {
    Q_OBJECT

private slots:
    void manyRunsKeepMemorySteady();
};

void tst_Soak::manyRunsKeepMemorySteady() {
#ifdef VELMORA_ASAN
    // The sanitizer's quarantine and shadow memory make RSS meaningless; still run a few.
    constexpr int runs = 4, warmUp = 2;
#else
    constexpr int runs = 300, warmUp = 10;
#endif
    frmVelmora window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Cycle through every preset, so each run draws a different picture over the last one.
    const std::array<QRadioButton*, 5> frequencies{window.op5, window.op1, window.op06, window.op02,
                                                   window.op003};
    const std::array<QRadioButton*, 3> distances{window.opV300, window.opV350, window.opV400};
    long afterWarmUp = 0;
    for (int run = 1; run <= runs; ++run) {
        frequencies[run % frequencies.size()]->setChecked(true);
        distances[run % distances.size()]->setChecked(true);
        window.cmdStart_Click();
        QCoreApplication::processEvents();
        if (run == warmUp)
            afterWarmUp = residentKilobytes();
    }
    QVERIFY(!window.picture().isNull());
    const long last = residentKilobytes();
    QVERIFY(afterWarmUp > 0 && last > 0);
    qInfo("VmRSS after run %d: %ld kB, after run %d: %ld kB", warmUp, afterWarmUp, runs, last);
#ifndef VELMORA_ASAN
    QVERIFY2(last - afterWarmUp <= 2048,
             qPrintable(QStringLiteral("grew by %1 kB").arg(last - afterWarmUp)));
#endif
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
