// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// During a run the window repaints what it is asked to, as when a theme or a covering window
// changes, while a click waits for the run's end; a Start that arrives during a run runs after
// it, never inside it.
#include "frm_velmora.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

class ProbedWindow : public frmVelmora {
public:
    std::function<void()> onFirstPaint;
    bool running = false;
    QRect asked; // what the test asks to repaint; no scan step draws there
    QRegion paintedSinceAsked;
    int stepPaints = 0; // at speed 1, 12 a run, whether or not the asked region joins one

protected:
    void paintEvent(QPaintEvent* event) override {
        frmVelmora::paintEvent(event);
        if (running && !onFirstPaint)
            paintedSinceAsked += event->region();
        if (!asked.contains(event->rect()))
            ++stepPaints;
        if (running && onFirstPaint)
            std::exchange(onFirstPaint, nullptr)();
    }
};

void postClick(QWidget* target) {
    const QPoint at(6, target->height() / 2); // on a radio button's indicator too
    const QPoint global = target->mapToGlobal(at);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                        Qt::LeftButton, Qt::NoButton, {}));
}

enum class Start { None, Clicked, QueuedCall };

} // namespace

Q_DECLARE_METATYPE(Start)

class tst_PaintDuringRun : public QObject {
    Q_OBJECT

private slots:
    void exposedDuringRun_data() {
        QTest::addColumn<Start>("start");
        QTest::addColumn<int>("runs");
        QTest::newRow("expose and a click") << Start::None << 1;
        QTest::newRow("Start clicked mid-run") << Start::Clicked << 2;
        QTest::newRow("Start called by a queued call mid-run") << Start::QueuedCall << 2;
    }

    void exposedDuringRun() {
        QFETCH(Start, start);
        QFETCH(int, runs);
        ProbedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.cmdStart_Click(); // the first run's first step repaints everything
        window.asked = QRect(0, window.height() - 20, 20, 20);
        window.onFirstPaint = [&] {
            window.update(window.asked);
            postClick(window.op5);
            if (start == Start::Clicked)
                postClick(window.cmdStart);
            else if (start == Start::QueuedCall)
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
        QTRY_COMPARE(window.stepPaints, 12 * runs);
        QTest::qWait(50);
        QCOMPARE(window.stepPaints, 12 * runs);
    }
};

QTEST_MAIN(tst_PaintDuringRun)
#include "tst_paint_during_run.moc"
