// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Names and values from the command line: kept to the byte, echoed so that they cannot act on a
// terminal, and refused where no file name can hold them.
#include "command_line.h"
#include "native_text.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestNativeText : public QObject {
    Q_OBJECT

private slots:
    // Whatever the bytes, reading them and writing them back gives them again.
    void bytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shownAs");
        QTest::newRow("an overlong slash") << "a\xe0\x80\xaf"_ba << u"a\\xe0\\x80\\xaf"_s;
        QTest::newRow("an encoded surrogate") << "\xed\xa0\x80"_ba << u"\\xed\\xa0\\x80"_s;
        QTest::newRow("a sequence cut short") << "\xe2\x82x"_ba << u"\\xe2\\x82x"_s;
        QTest::newRow("beyond U+10FFFF") << "\xf4\x90\x80\x80"_ba << u"\\xf4\\x90\\x80\\x80"_s;
        // Its low surrogate, DC80, is what an escaped byte 0x80 looks like on its own.
        QTest::newRow("U+10080, its low half like an escaped byte")
            << "\xf0\x90\x82\x80"_ba << QString::fromUcs4(U"\U00010080");
        QTest::newRow("an escape sequence, an override and a line break")
            << "a\x1b[31m\xe2\x80\xae\x62\n"_ba << u"a\\x1b[31m\\u202eb\\x0a"_s;
        QTest::newRow("the 8-bit control sequence introducer")
            << "\xc2\x9b\x32J"_ba << u"\\x9b2J"_s;
        QTest::newRow("a tag character") << "\xf3\xa0\x80\x81"_ba << u"\\U000e0001"_s;
    }
    void bytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shownAs);
        const QString text = fromNative(bytes);
        QCOMPARE(toNative(text).value_or("(none)"), bytes);
        QCOMPARE(shown(text), shownAs);
    }

    // Text from elsewhere than the system's bytes may hold what no file name can.
    void unrepresentable_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("a lone high surrogate") << QString(QChar(0xD800)) + u".png"_s;
        QTest::newRow("a lone low surrogate no byte made") << u"a"_s + QChar(0xDC10);
        QTest::newRow("a NUL") << QString::fromUtf16(u"a\0b.png", 7);
    }
    void unrepresentable() {
        QFETCH(QString, name);
        CommandLine commandLine;
        QString message;
        const std::optional<int> status =
            parseCommandLine({u"velmora"_s, u"--intensities"_s, name}, &commandLine, &message);
        QCOMPARE(status.value_or(0), 2);
        QVERIFY2(message.contains(u"cannot be one"), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestNativeText)
#include "tst_native_text.moc"
