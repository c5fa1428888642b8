// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture kept for a worksheet: Ctrl+C puts the client area on the clipboard as an image,
// a file is PNG or SVG by its name, a print holds the picture, and the picture's context menu
// offers all three.
#include "frm_velmora.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestKeep : public QObject {
    Q_OBJECT

    std::unique_ptr<frmVelmora> m_window;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() {
        m_window = std::make_unique<frmVelmora>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_window->cmdStart_Click();
    }
    void cleanup() { m_window.reset(); }

    void copyPutsTheClientAreaOnTheClipboard() {
        QGuiApplication::clipboard()->clear();
        QTest::keySequence(m_window.get(), QKeySequence::Copy);
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), m_window->size());
        const QImage shown = m_window->grab().toImage();
        QVERIFY(copied.convertToFormat(shown.format()) == shown);
        QCOMPARE(copied.pixelColor(366, 120), QColor(Qt::black)); // the detector line
    }

    void savedByName_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("PNG") << u"worksheet.png"_s;
        QTest::newRow("SVG") << u"worksheet.svg"_s;
        QTest::newRow("SVG, capital suffix") << u"worksheet.SVG"_s;
    }
    void savedByName() {
        QFETCH(QString, name);
        const QString path = m_dir.filePath(name);
        QString error;
        QVERIFY2(m_window->savePictureAs(path, &error), qPrintable(error));
        if (name.endsWith(u".png")) {
            QCOMPARE(QImage(path).size(), m_window->size());
            return;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&file);
        int lines = 0;
        QString text;
        while (!svg.atEnd()) {
            if (svg.readNext() == QXmlStreamReader::StartElement &&
                (svg.name() == u"polyline" || svg.name() == u"path"))
                ++lines;
            else if (svg.isCharacters())
                text += svg.text();
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QVERIFY(lines > 100); // the ray fan, the spirals and the bars, as vectors
        QVERIFY(text.contains(u"Probability"_s) && text.contains(u"Source"_s));
    }

    void printHoldsThePicture() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(u"printed.pdf"_s));
        m_window->printPicture(printer);
        QFile pdf(printer.outputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/Subtype /Image"));
        QVERIFY(bytes.contains("/Width " + QByteArray::number(m_window->width())));
    }

    void contextMenuOnThePicture() {
        QStringList offered;
        QTimer::singleShot(0, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (const QAction* action : menu->actions())
                    offered << action->text();
                menu->close();
            }
        });
        const QPoint onPicture(600, 500);
        QContextMenuEvent event(QContextMenuEvent::Mouse, onPicture,
                                m_window->mapToGlobal(onPicture));
        QApplication::sendEvent(m_window.get(), &event);
        QCOMPARE(offered.mid(0, 3),
                 (QStringList{u"Copy picture"_s, u"Save picture..."_s, u"Print picture..."_s}));
    }
};

QTEST_MAIN(TestKeep)
#include "tst_keep.moc"
