#include "DesktopNotifier.h"
#include "Failure.h"
#include "JobWindow.h"
#include "LauncherProgress.h"
#include "MessageRecorder.h"
#include "PrivateBus.h"
#include "SignalCatcher.h"
#include "frmWait.h"
#include "words/FailureText.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

// Spins on the work's thread until done() holds; false when it did not within ten seconds, so
// that a window that never gets there fails the test instead of hanging it.
bool spinUntil(const std::function<bool()> &done) {
    const QDeadlineTimer deadline(10'000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        std::this_thread::yield();
    }
    return true;
}

// A job whose work is the test's own, run on the job's thread.
class TestJob : public Job {
public:
    using Body = std::function<void(const Work &work)>;
    inline static const QString kFolder = QStringLiteral("/media/stick/out");

    explicit TestJob(Body body, RunOutcome ending = RunOutcome::Done)
        : m_body(std::move(body))
        , m_ending(ending) {}

    Kind kind() const override { return Kind::Split; }
    JobResult run(const Work &work) noexcept override {
        try {
            m_body(work);
        } catch (...) {
            return failed(Failure::current());
        }
        JobResult result;
        result.outcome = work.stop.requested() ? RunOutcome::Stopped : m_ending;
        const bool done = result.outcome == RunOutcome::Done;
        result.allWell = done;
        result.message.text = done ? QStringLiteral("done") : QStringLiteral("first lines\n\nmore");
        result.notice = {done ? QStringLiteral("report.doc: 3 pieces written to out") : QString(),
                         kFolder};
        return result;
    }
    JobResult failed(const Failure &failure) const override {
        return JobResult::ofFailure(failure,
                                    {RunMessage::Tone::Error, {}, failureLine(failure), {}});
    }

private:
    Body m_body;
    RunOutcome m_ending;
};

// The desktop's notification service, as far as the program uses it: what it was asked to
// show, and its signal that the user chose an action of the last.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Shown> shown;

    bool serve(QDBusConnection bus) {
        return bus.registerService(QStringLiteral("org.freedesktop.Notifications")) &&
               bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                  QDBusConnection::ExportAllSlots);
    }
    void invoke(QDBusConnection bus, const QString &action) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
        signal << uint(shown.size()) << action;
        bus.send(signal);
    }

public Q_SLOTS:
    uint Notify(const QString & /*application*/, uint /*replaces*/, const QString & /*icon*/,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap & /*hints*/, int /*timeout*/) {
        shown.append({summary, body, actions});
        return uint(shown.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

// Runs body as a job of jobs, and returns once it has ended and its box was shown.
bool runJob(JobWindow &jobs, TestJob::Body body) {
    QSignalSpy ended(&jobs, &JobWindow::jobEnded);
    return jobs.start(std::make_unique<TestJob>(std::move(body))) && ended.wait(20'000);
}

} // namespace

class WaitWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void waitWindowLayout_data();
    void waitWindowLayout();
    void workRunsOffTheWindowsThread();
    void otherWindowsTakeNoInputMeanwhile();
    void questionsAreAskedOnTheWindowsThread_data();
    void questionsAreAskedOnTheWindowsThread();
    void progressShowsUnderTheLabel();
    void longProgressLinesKeepTheirNumbers();
    void escapeCancelAndCloseStopTheRun_data();
    void escapeCancelAndCloseStopTheRun();
    void nothingToStopWhileWritingToDisk();
    void launcherEntryShowsTheProgress();
    void unseenLongEndsAreNotified_data();
    void unseenLongEndsAreNotified();
};

void WaitWindowTest::waitWindowLayout_data() {
    QTest::addColumn<Job::Kind>("what");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addRow("split") << Job::Kind::Split << QStringLiteral("Please wait splitting files")
                           << QStringLiteral("Splitting Files Please Wait");
    QTest::addRow("join") << Job::Kind::Join << QStringLiteral("Please wait joining files")
                          << QStringLiteral("Joining Files Please Wait");
    QTest::addRow("verify") << Job::Kind::Verify << QStringLiteral("Please wait checking pieces")
                            << QStringLiteral("Checking Pieces Please Wait");
}

void WaitWindowTest::waitWindowLayout() {
    QFETCH(Job::Kind, what);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    frmWait window(what);
    const auto *label = window.findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(label);
    const double pixelsPerTwip = window.screen()->logicalDotsPerInch() / 1440.0;
    auto px = [&](int twips) { return qRound(twips * pixelsPerTwip); };

    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(window.size(), QSize(px(4680), px(3090)));
    QCOMPARE(label->text(), caption);
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
    MessageRecorder boxes;
    JobWindow jobs;
    // The work waits until the window's thread has ticked a timer: it can only end if events
    // are handled while it runs.
    std::atomic<int> ticks{0};
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
    timer.start(1);
    std::atomic<bool> shownWhileWorking{false};
    std::thread::id workThread;

    QVERIFY(runJob(jobs, [&](const Work &) {
        workThread = std::this_thread::get_id();
        spinUntil([&] { return ticks.load() >= 3; });
        shownWhileWorking = jobs.window() != nullptr;
    }));

    QVERIFY(workThread != std::this_thread::get_id());
    QVERIFY(ticks.load() >= 3);
    QVERIFY(shownWhileWorking);
    QCOMPARE(jobs.window(), nullptr);
    QCOMPARE(boxes.messages.size(), 1); // its end, once the window is gone
    QCOMPARE(boxes.messages.first().text, QStringLiteral("done"));
}

void WaitWindowTest::otherWindowsTakeNoInputMeanwhile() {
    MessageRecorder boxes;
    QWidget other;
    auto *button = new QPushButton(QStringLiteral("Press"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    int presses = 0;
    QObject::connect(button, &QPushButton::clicked, button, [&] { ++presses; });
    std::atomic<bool> clicked{false};
    JobWindow jobs;

    // Through the window system, as a user's click arrives.
    const QPoint centre = button->mapTo(&other, button->rect().center());
    auto click = [&] { QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, centre); };
    QTimer::singleShot(0, button, [&] {
        click();
        clicked = true;
    });
    std::atomic<bool> clickCame{false};
    QVERIFY(
        runJob(jobs, [&](const Work &) { clickCame = spinUntil([&] { return clicked.load(); }); }));

    QVERIFY(clickCame);
    QCOMPARE(presses, 0);
    // Once the run is over the window takes input again.
    click();
    QCOMPARE(presses, 1);
}

void WaitWindowTest::questionsAreAskedOnTheWindowsThread_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("stopFirst"); // Cancel while the box is up
    QTest::addRow("Yes") << true << false;
    QTest::addRow("No") << false << false;
    QTest::addRow("a stop answers No") << true << true;
}

void WaitWindowTest::questionsAreAskedOnTheWindowsThread() {
    QFETCH(bool, answer);
    QFETCH(bool, stopFirst);
    MessageRecorder boxes;
    JobWindow jobs;
    std::thread::id asker;
    const std::thread::id window = std::this_thread::get_id();
    setQuestionHandler([&](const Message &) {
        asker = std::this_thread::get_id();
        if (stopFirst)
            jobs.stop();
        return answer;
    });
    std::atomic<bool> heard{false};

    QVERIFY(runJob(jobs, [&](const Work &work) {
        heard = work.questions.ask({QStringLiteral("Replace it?")});
    }));

    QCOMPARE(asker, window);
    QCOMPARE(heard.load(), answer && !stopFirst);
}

namespace {

// Work for the wait window that waits, on its own thread, until the window's thread has seen
// what it waits for (or it has been stopped), and then returns.
struct Waiting {
    std::atomic<bool> seen{false};
    std::atomic<bool> stopped{false};

    void wait(const StopRequest &stop) {
        spinUntil([&] { return seen.load() || stop.requested(); });
        stopped = stop.requested();
    }
};

// Calls check on the window's thread until it returns true.
void whenever(QObject *context, const std::function<bool()> &check) {
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        if (check())
            timer->stop();
    });
    timer->start(5);
}

} // namespace

void WaitWindowTest::progressShowsUnderTheLabel() {
    MessageRecorder boxes;
    JobWindow jobs;
    Waiting work;
    QRect label;
    QList<QRect> controls;
    QString line;
    QObject context;
    whenever(&context, [&] {
        const frmWait *window = jobs.window();
        const auto *bar =
            window ? window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1")) : nullptr;
        if (!bar || bar->value() != 250)
            return false;
        line = window->findChild<QLabel *>(QStringLiteral("Label2"))->text();
        label = window->findChild<QLabel *>(QStringLiteral("Label1"))->geometry();
        for (const char *name : {"ProgressBar1", "Label2", "cmdCancel"})
            controls << window->findChild<QWidget *>(QString::fromLatin1(name))->geometry();
        controls << window->rect();
        work.seen = true;
        return true;
    });

    QVERIFY(runJob(jobs, [&](const Work &running) {
        running.progress.runStarted(2, 4000);
        running.progress.fileStarted(0, QStringLiteral("report.doc"), 4000);
        running.progress.bytesCopied(1000);
        work.wait(running.stop);
    }));

    QCOMPARE(line, QStringLiteral("report.doc (1 of 2): 1.0 kB of 4.0 kB"));
    const QRect window = controls.takeLast();
    for (const QRect &control : controls) {
        QVERIFY(control.top() > label.bottom()); // below the label, never over it
        QVERIFY(window.contains(control));
    }
    QVERIFY(!controls[0].intersects(controls[1]) && !controls[1].intersects(controls[2]));
}

void WaitWindowTest::longProgressLinesKeepTheirNumbers() {
    frmWait window(Job::Kind::Split);
    const auto *line = window.findChild<QLabel *>(QStringLiteral("Label2"));
    const QString name = QStringLiteral("the holiday video of the summer of 2026.mkv");

    window.showProgress(name + QStringLiteral(" (2 of 5): 1.2 GB of 4.0 GB, about 1 min left"), 300,
                        true);

    const QStringList lines = line->text().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1], QStringLiteral("1.2 GB of 4.0 GB, about 1 min left"));
    QVERIFY2(lines[0].endsWith(QStringLiteral(" (2 of 5):")), qPrintable(lines[0]));
    for (const QString &shown : lines)
        QVERIFY2(line->fontMetrics().horizontalAdvance(shown) <= line->width(), qPrintable(shown));
    QVERIFY(line->height() >= 2 * line->fontMetrics().height());
}

void WaitWindowTest::escapeCancelAndCloseStopTheRun_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("quits");
    QTest::addRow("Cancel") << QStringLiteral("Cancel") << false;
    QTest::addRow("Escape") << QStringLiteral("Escape") << false;
    QTest::addRow("closing the window") << QStringLiteral("close") << false;
    QTest::addRow("Ctrl+Q, and Yes to stop and quit") << QStringLiteral("Ctrl+Q") << true;
}

void WaitWindowTest::escapeCancelAndCloseStopTheRun() {
    QFETCH(QString, how);
    QFETCH(bool, quits);
    MessageRecorder boxes;
    boxes.answers = {true};
    JobWindow jobs;
    Waiting work;
    QObject context;
    whenever(&context, [&] {
        frmWait *window = jobs.window();
        if (!window || !window->isVisible())
            return false;
        // Keys reach a window's shortcuts only once it is the active one.
        if (!window->isActiveWindow()) {
            window->activateWindow();
            return false;
        }
        if (how == u"Cancel")
            window->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
        else if (how == u"close")
            window->close();
        else
            QTest::keySequence(window, how == u"Escape" ? QKeySequence(Qt::Key_Escape)
                                                        : QKeySequence(Qt::CTRL | Qt::Key_Q));
        return true;
    });

    QVERIFY(runJob(jobs, [&](const Work &running) { work.wait(running.stop); }));

    QVERIFY(work.stopped);
    QCOMPARE(boxes.questions.size(), quits ? 1 : 0);
    // Stopped to quit, the end needs no box.
    QCOMPARE(boxes.messages.size(), quits ? 0 : 1);
}

void WaitWindowTest::nothingToStopWhileWritingToDisk() {
    MessageRecorder boxes;
    JobWindow jobs;
    Waiting work;
    bool cancelEnabled = true;
    QObject context;
    whenever(&context, [&] {
        frmWait *window = jobs.window();
        if (!window || window->findChild<QLabel *>(QStringLiteral("Label2"))->text() !=
                           QStringLiteral("Writing to disk\u2026"))
            return false;
        cancelEnabled = window->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isEnabled();
        QTest::keyClick(window, Qt::Key_Escape);
        window->close();
        work.seen = true;
        return true;
    });

    QVERIFY(runJob(jobs, [&](const Work &running) {
        running.progress.runStarted(1, 10);
        running.progress.bytesCopied(10);
        running.progress.flushStarted();
        work.wait(running.stop);
    }));

    QVERIFY(!cancelEnabled);
    QVERIFY(!work.stopped);
}

void WaitWindowTest::launcherEntryShowsTheProgress() {
    PrivateBus bus;
    if (!bus.isRunning())
        QSKIP("needs dbus-daemon");
    QDBusConnection launcher = bus.connect(QStringLiteral("launcher"));
    QVERIFY(launcher.isConnected());
    QList<QVariantList> updates;
    SignalCatcher catcher([&](const QDBusMessage &message) { updates << message.arguments(); });
    QVERIFY(launcher.connect({}, {}, QStringLiteral("com.canonical.Unity.LauncherEntry"),
                             QStringLiteral("Update"), &catcher, SLOT(catchSignal(QDBusMessage))));
    {
        LauncherProgress progress(bus.connect(QStringLiteral("program")));
        progress.show(0.25);
        progress.show(0.251); // the same percent: not sent again
        progress.show(1.0);
    }
    QTRY_COMPARE(updates.size(), 3);
    const QString entry = QStringLiteral("application://org.tessary.Tessary.desktop");
    QCOMPARE(updates[0][0].toString(), entry);
    const QVariantMap first = qdbus_cast<QVariantMap>(updates[0][1]);
    QCOMPARE(first.value(QStringLiteral("progress")).toDouble(), 0.25);
    QCOMPARE(first.value(QStringLiteral("progress-visible")).toBool(), true);
    QCOMPARE(qdbus_cast<QVariantMap>(updates[1][1]).value(QStringLiteral("progress")).toDouble(),
             1.0);
    QCOMPARE(qdbus_cast<QVariantMap>(updates[2][1]).value(QStringLiteral("progress-visible")),
             QVariant(false));
}

void WaitWindowTest::unseenLongEndsAreNotified_data() {
    QTest::addColumn<bool>("serviceRuns");
    QTest::addColumn<bool>("behind"); // another program's window active when it ends
    QTest::addColumn<bool>("lasting");
    QTest::addColumn<RunOutcome>("outcome");
    QTest::addColumn<QString>("summary"); // empty: no notification
    QTest::addColumn<QString>("body");
    const QString done = QStringLiteral("report.doc: 3 pieces written to out");
    QTest::addRow("long, behind another window")
        << true << true << true << RunOutcome::Done << QStringLiteral("Split finished") << done;
    QTest::addRow("stopped, its message's first lines told")
        << true << true << true << RunOutcome::Stopped << QStringLiteral("Split stopped")
        << QStringLiteral("first lines");
    QTest::addRow("long, in front")
        << true << false << true << RunOutcome::Done << QString() << QString();
    QTest::addRow("short, behind")
        << true << true << false << RunOutcome::Done << QString() << QString();
    QTest::addRow("no service") << false << true << true << RunOutcome::Done << QString()
                                << QString();
}

void WaitWindowTest::unseenLongEndsAreNotified() {
    QFETCH(bool, serviceRuns);
    QFETCH(bool, behind);
    QFETCH(bool, lasting);
    QFETCH(RunOutcome, outcome);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    PrivateBus bus;
    if (!bus.isRunning())
        QSKIP("needs dbus-daemon");
    FakeNotifications service;
    QDBusConnection desktop = bus.connect(QStringLiteral("desktop"));
    if (serviceRuns)
        QVERIFY(service.serve(desktop));
    QStringList opened;
    MessageRecorder boxes;
    JobWindow jobs;
    QDBusConnection program = bus.connect(QStringLiteral("program"));
    jobs.notifyWith(std::make_unique<DesktopNotifier>(
                        program, [&](const QString &folder) { opened << folder; }),
                    lasting ? std::chrono::milliseconds(0) : std::chrono::hours(1));
    QWindow otherProgram;
    std::atomic<bool> released{false};
    QSignalSpy ended(&jobs, &JobWindow::jobEnded);
    QVERIFY(jobs.start(std::make_unique<TestJob>(
        [&](const Work &) { spinUntil([&] { return released.load(); }); }, outcome)));
    QVERIFY(QTest::qWaitForWindowActive(jobs.window()));
    if (behind) {
        otherProgram.show();
        otherProgram.requestActivate();
        QTRY_VERIFY(!QApplication::activeWindow());
    }
    released = true;
    QVERIFY(ended.wait(20'000));

    if (summary.isEmpty()) {
        if (serviceRuns) { // once a call sent after it on the same connection was answered
            const QDBusPendingCall ping = program.asyncCall(
                QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                               QStringLiteral("/org/freedesktop/Notifications"),
                                               QStringLiteral("org.freedesktop.Notifications"),
                                               QStringLiteral("GetCapabilities")));
            QTRY_VERIFY(ping.isFinished());
            QVERIFY(!ping.isError());
        }
        QCOMPARE(service.shown.size(), 0);
        return;
    }
    QTRY_COMPARE(service.shown.size(), 1);
    QCOMPARE(service.shown[0].summary, summary);
    QCOMPARE(service.shown[0].body, body);
    QVERIFY(service.shown[0].actions.contains(QStringLiteral("Open Folder")));
    service.invoke(desktop, QStringLiteral("open-folder"));
    QTRY_COMPARE(opened, QStringList{TestJob::kFolder});
}

QTEST_MAIN(WaitWindowTest)
#include "tst_waitwindow.moc"
