// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A run never yields to the event loop: input that arrives during it waits, untouched, until
// it is over; Exit waits too; Escape stops the run, and presses of Start wait once; and a run
// that fails is reported and leaves the window working.
#include "frm_velmora.h"
#include "number_text.h"

// moc cannot read the accented names the adapters bring in, and needs none of them.
#ifndef Q_MOC_RUN
#include "core_text.h"
#endif

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The window, with a look inside every synchronous repaint a run makes after a scan step.
class ProbedWindow : public frmVelmora {
public:
    using frmVelmora::redrawPicture; // as a new zoom has it drawn again
    std::function<void()> duringRun;
    int paintsDuringRun = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        frmVelmora::paintEvent(event);
        if (duringRun) {
            ++paintsDuringRun;
            duringRun();
        }
    }
};

QStringList presets(const frmVelmora& w) {
    return {w.nFi->text(), w.nRozteč->text(), w.nSpomaleni->text()};
}

void postClick(QWidget* target, QPoint at) {
    const QPoint global = target->mapToGlobal(at);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                        Qt::LeftButton, Qt::NoButton, {}));
}

void postKey(QWidget* target, Qt::Key key) {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, {}));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, {}));
}

enum class Input {
    FrequencyClick,
    DistanceSpace,
    ScrollKey,
    ScrollArrow,
    ScrollWheel,
    Exit,
    Close
};

void post(frmVelmora& w, Input input) {
    QScrollBar* bar = w.HScroll1;
    switch (input) {
    case Input::FrequencyClick: // on the indicator, which every style counts as the button
        return postClick(w.op5, {6, w.op5->height() / 2});
    case Input::DistanceSpace:
        return postKey(w.opV300, Qt::Key_Space);
    case Input::ScrollKey:
        return postKey(bar, Qt::Key_Right);
    case Input::ScrollArrow: // the right arrow sits at the bar's right end
        return postClick(bar, {bar->width() - 3, bar->height() / 2});
    case Input::ScrollWheel: {
        const QPointF at = bar->rect().center();
        QCoreApplication::postEvent(bar,
                                    new QWheelEvent(at, bar->mapToGlobal(at), {}, {0, 120},
                                                    Qt::NoButton, {}, Qt::NoScrollPhase, false));
        return;
    }
    case Input::Exit:
        return postClick(w.cmdKonec, w.cmdKonec->rect().center());
    case Input::Close: // as the window manager's close button delivers it
        QCoreApplication::postEvent(w.windowHandle(), new QCloseEvent);
        return;
    }
}

// Answers the message boxes a failed run opens; it can only fire once the run has returned
// control to an event loop, the box's own.
struct MessageBoxAnswerer {
    QStringList criticalTexts;
    QTimer poll;
    MessageBoxAnswerer() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (box->icon() == QMessageBox::Critical)
                    criticalTexts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        poll.start(10);
    }
};

} // namespace

Q_DECLARE_METATYPE(Input)

class tst_InputDuringRun : public QObject {
    Q_OBJECT

private slots:
    void inputWaitsForTheRun_data();
    void inputWaitsForTheRun();
    void exitWaitsForTheRun_data();
    void exitWaitsForTheRun();
    void pressesDuringRun_data();
    void pressesDuringRun();
    void failedRunIsReportedAndSurvived_data();
    void failedRunIsReportedAndSurvived();
};

void tst_InputDuringRun::inputWaitsForTheRun_data() {
    QTest::addColumn<Input>("input");
    QTest::addColumn<QStringList>("after");
    const QString middle = velmora::qt::numberToText(0.6);
    QTest::newRow("frequency button clicked")
        << Input::FrequencyClick << QStringList{u"5"_s, u"350"_s, u"1"_s};
    QTest::newRow("distance button by Space")
        << Input::DistanceSpace << QStringList{middle, u"300"_s, u"1"_s};
    QTest::newRow("scroll bar by Right key")
        << Input::ScrollKey << QStringList{middle, u"350"_s, u"31"_s};
    QTest::newRow("scroll bar arrow clicked")
        << Input::ScrollArrow << QStringList{middle, u"350"_s, u"31"_s};
    QTest::newRow("scroll bar wheel turned")
        << Input::ScrollWheel << QStringList{middle, u"350"_s, u"31"_s};
}

void tst_InputDuringRun::inputWaitsForTheRun() {
    QFETCH(Input, input);
    QFETCH(QStringList, after);
    ProbedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList before = presets(window);
    window.cmdStart_Click();
    const QImage undisturbed = window.picture().copy();

    bool changedMidRun = false;
    window.duringRun = [&] {
        if (window.paintsDuringRun == 1)
            post(window, input);
        changedMidRun |= presets(window) != before;
    };
    window.cmdStart_Click();
    window.duringRun = nullptr;

    QCOMPARE(window.paintsDuringRun, 12); // with no pause, one repaint with each spiral
    QVERIFY(!changedMidRun);
    // The scale table is read at every step: a changed distance would show in the bars.
    QVERIFY(window.picture() == undisturbed);
    QTRY_COMPARE(presets(window), after);
}

void tst_InputDuringRun::exitWaitsForTheRun_data() {
    QTest::addColumn<Input>("input");
    QTest::newRow("Exit clicked") << Input::Exit;
    QTest::newRow("window closed") << Input::Close;
}

void tst_InputDuringRun::exitWaitsForTheRun() {
    QFETCH(Input, input);
    QPointer<ProbedWindow> window = new ProbedWindow;
    const auto cleanup = qScopeGuard([&window] { delete window.data(); });
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    bool shownThroughout = true, labelsPlaced = false;
    window->duringRun = [&] {
        if (window->paintsDuringRun == 1)
            post(*window, input);
        shownThroughout &= window->isVisible();
    };
    QTimer::singleShot(0, window, [&] {
        window->cmdStart_Click();
        window->duringRun = nullptr;
        labelsPlaced = window->labDetektorB->isVisible();
    });
    // The program's own loop: it has to end by itself once the window is gone.
    QTimer giveUp;
    giveUp.callOnTimeout([] { QCoreApplication::exit(1); });
    giveUp.start(60'000);
    QCOMPARE(QApplication::exec(), 0);

    QVERIFY(shownThroughout);
    QVERIFY(labelsPlaced);
    QTRY_VERIFY(window.isNull());
}

void tst_InputDuringRun::pressesDuringRun_data() {
    // E: Escape; P and R: Space and Return on Start.
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("stoppedAfter"); // scan steps, or none
    QTest::newRow("Escape stops the run at the step it is seen") << u"E"_s << 1 << 19;
    QTest::newRow("Space and Return on Start, twice each") << u"PPRR"_s << 2 << -1;
}

// Posted to the widgets at the run's twentieth repaint, after its nineteenth step.
void tst_InputDuringRun::pressesDuringRun() {
    QFETCH(QString, presses);
    QFETCH(int, runs);
    QFETCH(int, stoppedAfter);
    ProbedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.HScroll1->setValue(2000); // a pause of a millisecond, and a repaint, at every step
    int ended = 0;
    connect(&window, &frmVelmora::runEnded, this, [&ended] { ++ended; });
    window.duringRun = [&] {
        if (window.paintsDuringRun != 20)
            return;
        for (const QChar c : presses)
            postKey(c == u'E' ? window.focusWidget() : window.cmdStart, c == u'E' ? Qt::Key_Escape
                                                                        : c == u'P'
                                                                            ? Qt::Key_Space
                                                                            : Qt::Key_Return);
    };
    window.cmdStart->setFocus();
    window.cmdStart_Click();
    const QImage drawn = window.picture().copy();
    window.duringRun = nullptr;
    QTRY_COMPARE(ended, runs);
    QTest::qWait(100); // a run held at the end would have begun
    QCOMPARE(ended, runs);
    if (stoppedAfter < 0)
        return;
    QVERIFY2(window.description().contains(u"stopped after %1 of"_s.arg(stoppedAfter)),
             qPrintable(window.description()));
    QVERIFY(!window.labDetektorB->isVisible());
    // Drawn again, as at another zoom, and into a file, it stops where it stopped.
    window.redrawPicture();
    QVERIFY(window.picture() == drawn);
    QTemporaryDir folder;
    QString error;
    QVERIFY2(window.savePictureAs(folder.filePath(u"stopped.svg"_s), &error), qPrintable(error));
    QFile svg(folder.filePath(u"stopped.svg"_s));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QCOMPARE(svg.readAll().count("r=\"0.067\""), stoppedAfter); // a dot a step
}

void tst_InputDuringRun::failedRunIsReportedAndSurvived_data() {
    QTest::addColumn<int>("box"); // index into presets(): the preset made invalid
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString mismatch = u"Run-time error '13': Type mismatch"_s;
    const QString overflow = u"Run-time error '6': Overflow"_s;
    QTest::newRow("distance empty") << 1 << QString() << mismatch;
    QTest::newRow("distance product overflows") << 1 << u"1e308"_s << overflow;
    QTest::newRow("detector beyond single precision") << 1 << u"1e38"_s << overflow;
    QTest::newRow("speed not a number") << 2 << u"Spomaleni"_s << mismatch;
}

void tst_InputDuringRun::failedRunIsReportedAndSurvived() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ProbedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList valid = presets(window);
    QLineEdit* const boxes[] = {window.nFi, window.nRozteč, window.nSpomaleni};
    boxes[box]->setText(text);
    const QStringList before = presets(window);

    {
        MessageBoxAnswerer answerer;
        window.cmdStart_Click();
        QCOMPARE(answerer.criticalTexts, QStringList{message});
    }
    QCOMPARE(presets(window), before);
    QVERIFY(window.op06->isChecked() && window.opV350->isChecked());
    QVERIFY(!window.labDetektorB->isVisible());

    // Put right, the same window runs to the end.
    boxes[box]->setText(valid[box]);
    MessageBoxAnswerer answerer;
    window.cmdStart_Click();
    QVERIFY(answerer.criticalTexts.isEmpty());
    QVERIFY(window.labDetektorB->isVisible());
    QVERIFY(!window.picture().isNull());
}

QTEST_MAIN(tst_InputDuringRun)
#include "tst_input_during_run.moc"
