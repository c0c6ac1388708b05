#include "JobWindow.h"

#include "DesktopNotifier.h"
#include "LauncherProgress.h"
#include "MessageBox.h"
#include "frmWait.h"
#include "words/ProgressText.h"

#include <QApplication>

#include <chrono>

namespace {

// Ten times a second: smooth to the eye, and no load on the job.
constexpr std::chrono::milliseconds kProgressInterval{100};

class JobWindowText {
    Q_DECLARE_TR_FUNCTIONS(JobWindow)
};

MessageIcon iconOf(RunMessage::Tone tone) {
    switch (tone) {
    case RunMessage::Tone::Plain:
        break;
    case RunMessage::Tone::Information:
        return MessageIcon::Information;
    case RunMessage::Tone::Warning:
        return MessageIcon::Exclamation;
    case RunMessage::Tone::Error:
        return MessageIcon::Error;
    }
    return MessageIcon::None;
}

} // namespace

JobWindow::JobWindow(const FileSystem &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_notifier(std::make_unique<DesktopNotifier>()) {
    m_ticks.setInterval(kProgressInterval);
    connect(&m_ticks, &QTimer::timeout, this, &JobWindow::showProgress);
    connect(this, &JobWindow::posted, this, &JobWindow::runPosted, Qt::QueuedConnection);
}

JobWindow::~JobWindow() {
    m_runner.reset(); // stops the job and waits for it
}

void JobWindow::notifyWith(std::unique_ptr<DesktopNotifier> notifier,
                           std::chrono::milliseconds after) {
    m_notifier = std::move(notifier);
    m_notifyAfter = after;
}

bool JobWindow::start(std::unique_ptr<Job> job) {
    if (m_runner)
        return false;
    m_kind = job->kind();
    m_runner = std::make_unique<JobRunner>(std::move(job), static_cast<JobFront &>(*this), m_files);
    m_window = std::make_unique<frmWait>(m_kind);
    m_window->setWindowModality(Qt::ApplicationModal);
    connect(m_window.get(), &frmWait::stopRequested, this, &JobWindow::stop);
    connect(m_window.get(), &frmWait::quitRequested, this, &JobWindow::quitWhenStopped);
    m_text = std::make_unique<ProgressText>();
    m_launcher = std::make_unique<LauncherProgress>();
    m_window->show();
    m_ticks.start();
    m_clock.start();
    m_runner->start();
    return true;
}

void JobWindow::stop() {
    if (m_runner)
        m_runner->stop();
}

bool JobWindow::quitWhenStopped() {
    if (!m_runner)
        return true;
    if (m_quitWhenEnded ||
        askYesNo(JobWindowText::tr("%1 is under way. Stop it, leaving nothing half-made, and "
                                   "quit Tessary?")
                     .arg(workName()),
                 questionTitle())) {
        m_quitWhenEnded = true;
        stop();
    }
    return false;
}

void JobWindow::ask(const Question &question, std::shared_ptr<PendingAnswer> answer) {
    // On this object's thread, whenever it gets there; a question the job stopped waiting for
    // meanwhile is not asked.
    post([this, question, answer] {
        if (answer->stillWanted())
            answer->give(askYesNo(question.text, questionTitle(),
                                  question.likelyYes ? DefaultAnswer::Yes : DefaultAnswer::No));
    });
}

void JobWindow::finished(const JobResult &result) {
    post([this, result] { end(result); });
}

void JobWindow::post(std::function<void()> what) {
    {
        const std::lock_guard lock(m_postedMutex);
        m_posted.push_back(std::move(what));
    }
    Q_EMIT posted(QPrivateSignal());
}

void JobWindow::runPosted() {
    std::function<void()> next;
    {
        const std::lock_guard lock(m_postedMutex);
        if (m_posted.empty())
            return;
        next = std::move(m_posted.front());
        m_posted.pop_front();
    }
    next();
}

void JobWindow::end(const JobResult &result) {
    m_runner->wait();
    m_runner.reset();
    m_ticks.stop();
    notifyEnd(result);
    m_launcher.reset();
    m_window.reset();
    const bool quitting = std::exchange(m_quitWhenEnded, false);
    // A No before anything was done needs no more words, nor a stop on the way out.
    if (!result.declined && !quitting)
        showMessage(result.message.text, iconOf(result.message.tone), result.message.title,
                    result.message.details);
    Q_EMIT jobEnded(result);
    if (quitting)
        QCoreApplication::quit();
}

void JobWindow::showProgress() {
    const ProgressSnapshot now = m_runner->counter().snapshot();
    const int permille = ProgressText::permille(now);
    m_window->showProgress(m_text->line(now), permille, !now.flushing);
    m_launcher->show(permille / 1000.0);
}

QString JobWindow::questionTitle() const {
    switch (m_kind) {
    case Job::Kind::Split:
        break;
    case Job::Kind::Join:
        return JobWindowText::tr("Join Files");
    case Job::Kind::Verify:
        return JobWindowText::tr("Verify Pieces");
    }
    return {}; // the program's own
}

QString JobWindow::workName() const {
    switch (m_kind) {
    case Job::Kind::Split:
        break;
    case Job::Kind::Join:
        return JobWindowText::tr("A join");
    case Job::Kind::Verify:
        return JobWindowText::tr("A check of pieces");
    }
    return JobWindowText::tr("A split");
}

void JobWindow::notifyEnd(const JobResult &result) {
    // Seen where one of the program's windows is active: the box that follows is enough.
    if (result.declined || QApplication::activeWindow() ||
        std::chrono::milliseconds(m_clock.elapsed()) < m_notifyAfter)
        return;
    // The message's first paragraph where the job has no line of its own for its end.
    const QString text = result.notice.text.isEmpty()
                             ? result.message.text.section(QStringLiteral("\n\n"), 0, 0)
                             : result.notice.text;
    m_notifier->notify(endTitle(result), text, result.notice.folder);
}

QString JobWindow::endTitle(const JobResult &result) const {
    const bool stopped = result.outcome == RunOutcome::Stopped;
    const bool failed = result.outcome == RunOutcome::Failed;
    switch (m_kind) {
    case Job::Kind::Split:
        break;
    case Job::Kind::Join:
        return stopped  ? JobWindowText::tr("Join stopped")
               : failed ? JobWindowText::tr("Join failed")
                        : JobWindowText::tr("Join finished");
    case Job::Kind::Verify:
        return stopped          ? JobWindowText::tr("Check stopped")
               : failed         ? JobWindowText::tr("Check failed")
               : result.allWell ? JobWindowText::tr("Check finished")
                                : JobWindowText::tr("Check found damage");
    }
    return stopped  ? JobWindowText::tr("Split stopped")
           : failed ? JobWindowText::tr("Split failed")
                    : JobWindowText::tr("Split finished");
}
