// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// During a run the window paints what it is asked to, while a click or a screen reader's action
// waits for the run's end, and a Start that arrives during a run runs after it, never inside it.
#include "frm_velmora.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <functional>

namespace {

class ProbedWindow : public frmVelmora {
public:
    std::function<void()> onFirstPaint; // during the run
    bool running = false;
    QRect asked; // a corner no scan step draws in
    QRegion paintedSinceAsked;
    int stepPaints = 0; // at speed 1, 12 a run, whether the asked corner joins one or not

protected:
    void paintEvent(QPaintEvent* event) override {
        frmVelmora::paintEvent(event);
        if (running && !onFirstPaint)
            paintedSinceAsked += event->region();
        stepPaints += !asked.contains(event->rect());
        if (running && onFirstPaint)
            std::exchange(onFirstPaint, nullptr)();
    }
};

void postClick(QWidget* target) {
    const QPoint at(6, target->height() / 2); // on a radio button's indicator too
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(target, new QMouseEvent(type, at, target->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, {}));
}

} // namespace

class tst_PaintDuringRun : public QObject {
    Q_OBJECT

private slots:
    void paintsDuringRun_data() {
        QTest::addColumn<int>("start"); // how a second Start comes during the run: 0 none
        QTest::newRow("no Start") << 0;
        QTest::newRow("Start clicked") << 1;
        QTest::newRow("Start called by a queued call") << 2;
    }
    void paintsDuringRun() {
        QFETCH(int, start);
        ProbedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.cmdStart_Click(); // the first run's first step repaints everything
        window.asked = QRect(0, window.height() - 20, 20, 20);
        window.onFirstPaint = [&] {
            window.update(window.asked);
            postClick(window.op5);
            if (start == 1)
                postClick(window.cmdStart);
            else if (start == 2)
                QMetaObject::invokeMethod(window.cmdStart, &QPushButton::click,
                                          Qt::QueuedConnection);
        };
        window.stepPaints = 0;
        window.running = true;
        window.cmdStart->click();
        window.running = false;

        QCOMPARE(window.paintedSinceAsked & window.asked, QRegion(window.asked));
        QCOMPARE(window.nFi->text(), QStringLiteral("0.6")); // the click has not acted yet
        QCOMPARE(window.stepPaints, 12); // nor has a Start: one run's repaints, not two
        QTRY_COMPARE(window.nFi->text(), QStringLiteral("5"));
        const int runs = start ? 2 : 1;
        QTRY_COMPARE(window.stepPaints, 12 * runs);
        QTest::qWait(50);
        QCOMPARE(window.stepPaints, 12 * runs);
    }

    // A screen reader's press and value reach the controls without an event to hold.
    void screenReaderActionsWaitForTheRun() {
        ProbedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QString fiDuring, countDuring;
        window.onFirstPaint = [&] {
            QAccessible::queryAccessibleInterface(window.op1)
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::toggleAction());
            QAccessible::queryAccessibleInterface(window.HScroll1)
                ->valueInterface()
                ->setCurrentValue(100);
            fiDuring = window.nFi->text();
            countDuring = window.nSpomaleni->text();
        };
        window.running = true;
        window.cmdStart->click();
        window.running = false;
        QCOMPARE(fiDuring, QStringLiteral("0.6"));
        QCOMPARE(countDuring, QStringLiteral("1"));
        QTRY_COMPARE(window.nFi->text(), QStringLiteral("1"));
        QTRY_COMPARE(window.nSpomaleni->text(), QStringLiteral("3001"));
    }
};

QTEST_MAIN(tst_PaintDuringRun)
#include "tst_paint_during_run.moc"
