#include "JobWindow.h"

#include "LauncherProgress.h"
#include "MessageBox.h"
#include "frmWait.h"
#include "words/ProgressText.h"

#include <QCoreApplication>

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
    , m_files(files) {
    m_ticks.setInterval(kProgressInterval);
    connect(&m_ticks, &QTimer::timeout, this, &JobWindow::showProgress);
}

JobWindow::~JobWindow() {
    m_runner.reset(); // stops the job and waits for it
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
    QMetaObject::invokeMethod(
        this,
        [this, question, answer] {
            if (answer->stillWanted())
                answer->give(askYesNo(question.text, questionTitle(),
                                      question.likelyYes ? DefaultAnswer::Yes : DefaultAnswer::No));
        },
        Qt::QueuedConnection);
}

void JobWindow::finished(const JobResult &result) {
    QMetaObject::invokeMethod(
        this, [this, result] { end(result); }, Qt::QueuedConnection);
}

void JobWindow::end(const JobResult &result) {
    m_runner->wait();
    m_runner.reset();
    m_ticks.stop();
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
