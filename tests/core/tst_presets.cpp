// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preset tables, the number-text routine and the busy-wait count, in a locale with a decimal
// point, one with a decimal comma and two that have digits of their own; the brake on a fake clock.
#include "number_text.h"
#include "presets.h"
#include "run_time_error.h"
#include "spiral_scan.h"

// moc cannot read the accented names the adapters bring in, and needs none of them.
#ifndef Q_MOC_RUN
#include "qt_core.h"
#endif

#include <QTest>

#include <array>
#include <chrono>
#include <cmath>
#include <optional>
#include <utility>

using namespace velmora;
using namespace velmora::qt;
using namespace Qt::StringLiterals;

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
const QLocale persian(QLocale::Persian, QLocale::Iran);
const std::array<std::pair<const char*, QLocale>, 4> locales{
    {{"en", english}, {"cs", czech}, {"ar", arabic}, {"fa", persian}}};

// Time passes only when read: one nanosecond per read.
struct FakeClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<FakeClock>;
    time_point t{};
    std::int64_t reads = 0;
    time_point now() {
        ++reads;
        return t += duration(1);
    }
};

// 0 when the call returns, else the number of the RunTimeError it throws.
template <class F> int errorNumberOf(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}
} // namespace

class TestPresets : public QObject {
    Q_OBJECT
private slots:
    void frequencyTable_data();
    void frequencyTable();
    void numberToText_data();
    void numberToText();
    void distanceRule_data();
    void distanceRule();
    void delayCount_data();
    void delayCount();
    void brake_data();
    void brake();
};

void TestPresets::frequencyTable_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("stepLength");
    QTest::addColumn<double>("phaseFactor");
    for (const auto& locale : locales) {
        const char* name = locale.first;
        const QLocale& l = locale.second;
        auto row = [&](const char* what, QString text, double step, double phase) {
            QTest::addRow("%s: %s", name, what) << l << text << step << phase;
        };
        row("5", QStringLiteral("5"), 10, 5);
        row("1", QStringLiteral("1"), 1.5, 0.1);
        row("text of 0.6", velmora::qt::numberToText(0.6, l), 1, 0.05);
        row("text of 0.2", velmora::qt::numberToText(0.2, l), 0.4, 0.01);
        row("text of 0.03", velmora::qt::numberToText(0.03, l), 0.18, 0.0015);
        row("5 with a leading zero", QStringLiteral("05"), 0, 0);
        row("empty", QString(), 0, 0);
        row("0.6 padded", QStringLiteral(" ") + velmora::qt::numberToText(0.6, l), 0, 0);
    }
    QTest::newRow("cs: 0.6 with a point") << czech << QStringLiteral("0.6") << 0.0 << 0.0;
    QTest::newRow("ar: 0.6 written out") << arabic << u"0\u066B6"_s << 1.0 << 0.05;
    QTest::newRow("ar: 5 in Arabic-Indic digits") << arabic << u"\u0665"_s << 0.0 << 0.0;
    QTest::newRow("fa: 0.6 with a point") << persian << QStringLiteral("0.6") << 0.0 << 0.0;
    QTest::newRow("en: 0,6 with a comma") << english << QStringLiteral("0,6") << 0.0 << 0.0;
}

void TestPresets::frequencyTable() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, stepLength);
    QFETCH(double, phaseFactor);
    const Frequency f = frequencyFor(text, locale);
    // Table constants, copied rather than computed.
    QCOMPARE(f.stepLength, stepLength);
    QCOMPARE(f.phaseFactor, phaseFactor);
}

void TestPresets::numberToText_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("en: 0.6") << english << 0.6 << QStringLiteral("0.6");
    QTest::newRow("cs: 0.6") << czech << 0.6 << QStringLiteral("0,6");
    QTest::newRow("en: 0.03") << english << 0.03 << QStringLiteral("0.03");
    QTest::newRow("en: 983011 without grouping") << english << 983011.0 << QStringLiteral("983011");
    QTest::newRow("cs: 983011 without grouping") << czech << 983011.0 << QStringLiteral("983011");
    QTest::newRow("en: a million, no exponent") << english << 1e6 << QStringLiteral("1000000");
    QTest::newRow("ar: 0.03") << arabic << 0.03 << u"0\u066B03"_s;
    QTest::newRow("ar: 983011 in ASCII") << arabic << 983011.0 << QStringLiteral("983011");
    QTest::newRow("fa: -5 in ASCII") << persian << -5.0 << QStringLiteral("-5");
    QTest::newRow("fa: exponent in ASCII") << persian << -1.5e-7 << u"-1\u066B5e-07"_s;
}

void TestPresets::numberToText() {
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(velmora::qt::numberToText(value, locale), text);
    QVERIFY(std::fabs(textToNumber(text, locale) - value) <= 1e-12 * std::fabs(value));
}

void TestPresets::distanceRule_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("detectorX"); // ignored when an error is expected
    QTest::addColumn<std::optional<double>>("scale");
    QTest::addColumn<int>("error");
    QTest::newRow("300") << QStringLiteral("300") << 4500.0 << std::optional(0.017) << 0;
    QTest::newRow("350") << QStringLiteral("350") << 5500.0 << std::optional(0.009) << 0;
    QTest::newRow("400") << QStringLiteral("400") << 6500.0 << std::optional(0.006) << 0;
    QTest::newRow("350 with a leading zero")
        << QStringLiteral("0350") << 5500.0 << std::optional<double>() << 0;
    QTest::newRow("350 with a plus sign")
        << QStringLiteral("+350") << 5500.0 << std::optional<double>() << 0;
    QTest::newRow("negative") << QStringLiteral("-25") << -2000.0 << std::optional<double>() << 0;
    QTest::newRow("not a number") << QStringLiteral("abc") << 0.0 << std::optional<double>() << 13;
    QTest::newRow("empty") << QString() << 0.0 << std::optional<double>() << 13;
    QTest::newRow("product overflows")
        << QStringLiteral("1e308") << 0.0 << std::optional<double>() << 6;
    QTest::newRow("beyond a double")
        << QStringLiteral("1e309") << 0.0 << std::optional<double>() << 6;
    QTest::newRow("infinity") << QStringLiteral("inf") << 0.0 << std::optional<double>() << 6;
    QTest::newRow("NaN") << QStringLiteral("nan") << 0.0 << std::optional<double>() << 6;
}

void TestPresets::distanceRule() {
    QFETCH(QString, text);
    QFETCH(double, detectorX);
    QFETCH(std::optional<double>, scale);
    QFETCH(int, error);
    for (const auto& locale : locales) {
        const char* name = locale.first;
        const QLocale& l = locale.second;
        double x = 0;
        QCOMPARE(errorNumberOf([&] { x = detectorXFor(text, 3500, l); }), error);
        if (error == 0)
            QVERIFY2(std::fabs(x - detectorX) < 1e-9, name);
    }
    QCOMPARE(intensityScaleFor(text), scale);
}

void TestPresets::delayCount_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("error");
    const int max = int(maxDelayCount);
    QTest::newRow("one") << english << QStringLiteral("1") << 1 << 0;
    QTest::newRow("zero") << english << QStringLiteral("0") << 0 << 0;
    QTest::newRow("fraction cut") << english << QStringLiteral("2.9") << 2 << 0;
    QTest::newRow("cs: fraction cut") << czech << QStringLiteral("2,9") << 2 << 0;
    QTest::newRow("negative fraction") << english << QStringLiteral("-0.5") << 0 << 0;
    QTest::newRow("negative") << english << QStringLiteral("-5") << 0 << 0;
    QTest::newRow("scroll bar maximum") << english << QStringLiteral("983011") << max << 0;
    QTest::newRow("one above the maximum") << english << QStringLiteral("983012") << max << 0;
    QTest::newRow("huge") << english << QStringLiteral("1e12") << max << 0;
    QTest::newRow("infinity held") << english << QStringLiteral("inf") << max << 0;
    QTest::newRow("minus infinity") << english << QStringLiteral("-inf") << 0 << 0;
    QTest::newRow("NaN") << english << QStringLiteral("nan") << 0 << 6;
    QTest::newRow("beyond a double") << english << QStringLiteral("1e309") << 0 << 6;
    QTest::newRow("not a number") << english << QStringLiteral("abc") << 0 << 13;
    QTest::newRow("empty") << english << QString() << 0 << 13;
    QTest::newRow("cs: decimal point") << czech << QStringLiteral("2.9") << 0 << 13;
    QTest::newRow("cs: group separator") << czech << u"1\u00A0000"_s << 0 << 13;
    QTest::newRow("en: group separator") << english << QStringLiteral("1,000") << 0 << 13;
    QTest::newRow("ar: scroll bar maximum") << arabic << QStringLiteral("983011") << max << 0;
    QTest::newRow("ar: fraction cut") << arabic << u"2\u066B9"_s << 2 << 0;
    QTest::newRow("ar: Arabic-Indic digits") << arabic << u"\u0663\u0661"_s << 0 << 13;
    QTest::newRow("fa: group separator") << persian << u"1\u066C000"_s << 0 << 13;
}

void TestPresets::brake_data() {
    delayCount_data();
}

// The count that reaches the brake waits that many units of fake time, and 0 reads no clock.
void TestPresets::brake() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(int, error);
    if (error != 0)
        return; // no count reaches the brake; delayCount checks the refusal
    FakeClock clock;
    busyWait(delayCountFor(text, locale), clock);
    const std::int64_t waited = count == 0 ? 0 : clock.reads - 1; // from the first read
    QCOMPARE(waited, std::int64_t(count) * brakeUnit.count());
    QCOMPARE(clock.reads == 0, count == 0);
}

void TestPresets::delayCount() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(int, error);
    std::uint32_t got = 0;
    QCOMPARE(errorNumberOf([&] { got = delayCountFor(text, locale); }), error);
    QCOMPARE(got, std::uint32_t(count));
}

QTEST_APPLESS_MAIN(TestPresets)
#include "tst_presets.moc"
