#include "MessageRecorder.h"
#include "RunProgress.h"
#include "WaitWindowSlot.h"
#include "frmWait.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <thread>

class WaitWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void waitWindowLayout();
    void workRunsOffTheWindowsThread();
    void otherWindowsTakeNoInputMeanwhile();
    void whatTheWorkThrowsIsThrownAgain();
};

void WaitWindowTest::waitWindowLayout() {
    frmWait window;
    const auto *label = window.findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(label);
    const double pixelsPerTwip = window.screen()->logicalDotsPerInch() / 1440.0;
    auto px = [&](int twips) { return qRound(twips * pixelsPerTwip); };

    QCOMPARE(window.windowTitle(), QStringLiteral("Please wait splitting files"));
    QCOMPARE(window.size(), QSize(px(4680), px(3090)));
    QCOMPARE(label->text(), QStringLiteral("Splitting Files Please Wait"));
    QCOMPARE(label->geometry(), QRect(px(720), px(1080), px(3255), px(495)));
    QCOMPARE(label->font().family(), QStringLiteral("Times New Roman"));
    QVERIFY(label->font().bold());
    // As large as asked for, unless the fonts at hand need less to show every word.
    QVERIFY(label->font().pointSizeF() <= 14.25);
    QVERIFY(label->font().pointSizeF() >= 10);
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
             qPrintable(QFontInfo(label->font()).family()));
}

void WaitWindowTest::workRunsOffTheWindowsThread() {
    WaitWindowSlot slot;
    // The work waits until the window's thread has ticked a timer: it can only end if events
    // are handled while it runs.
    std::atomic<int> ticks{0};
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
    timer.start(1);
    bool shownWhileWorking = false;
    std::thread::id workThread;

    slot.run([&](ProgressSink &, const StopRequest &) {
        workThread = std::this_thread::get_id();
        while (ticks.load() < 3)
            std::this_thread::yield();
        shownWhileWorking = slot.window() && slot.window()->isVisible();
    });

    QVERIFY(workThread != std::this_thread::get_id());
    QVERIFY(ticks.load() >= 3);
    QVERIFY(shownWhileWorking);
    QCOMPARE(slot.window(), nullptr);
}

void WaitWindowTest::otherWindowsTakeNoInputMeanwhile() {
    QWidget other;
    auto *button = new QPushButton(QStringLiteral("Press"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    int presses = 0;
    QObject::connect(button, &QPushButton::clicked, button, [&] { ++presses; });
    std::atomic<bool> clicked{false};
    WaitWindowSlot slot;

    // Through the window system, as a user's click arrives.
    const QPoint centre = button->mapTo(&other, button->rect().center());
    auto click = [&] { QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, centre); };
    QTimer::singleShot(0, button, [&] {
        click();
        clicked = true;
    });
    slot.run([&](ProgressSink &, const StopRequest &) {
        while (!clicked.load())
            std::this_thread::yield();
    });

    QCOMPARE(presses, 0);
    // Once the run is over the window takes input again.
    click();
    QCOMPARE(presses, 1);
}

void WaitWindowTest::whatTheWorkThrowsIsThrownAgain() {
    WaitWindowSlot slot;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, slot.run([](ProgressSink &, const StopRequest &) {
        throw std::runtime_error("no");
    }));
    QCOMPARE(slot.window(), nullptr);
}

QTEST_MAIN(WaitWindowTest)
#include "tst_waitwindow.moc"
