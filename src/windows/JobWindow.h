#pragma once

#include "FileSystem.h"
#include "jobs/JobRunner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class DesktopNotifier;
class LauncherProgress;
class ProgressText;
class frmWait;

// How a job shows in the window: the wait window up while the job runs on a thread of its own,
// its progress in it and in the launcher entry ten times a second, Cancel, Escape and closing it
// asking the job to stop; the job's questions answered with a box on this thread, and its end
// told in a box, and in a notification where the job took long and ended while none of the
// program's windows was active. This thread goes on with its own events meanwhile: nothing here
// waits for the job but the destructor. The wait window, being modal, holds the input of every
// other window.
class JobWindow : public QObject, private JobFront {
    Q_OBJECT
public:
    explicit JobWindow(const FileSystem &files = FileSystem::system(), QObject *parent = nullptr);
    // Stops a job under way and waits until it has.
    ~JobWindow() override;

    // Starts job with the wait window up, named for what it waits for; false, and nothing
    // started, while another job runs.
    bool start(std::unique_ptr<Job> job);
    bool running() const { return m_runner != nullptr; }
    // Asks the job under way to stop, as Cancel does.
    void stop();
    // Where the user asks to quit while a job runs: asks whether to stop it; on a yes, stops it
    // and quits once it has. Returns whether the program may quit now (no job runs).
    bool quitWhenStopped();

    frmWait *window() const { return m_window.get(); }

    // How the end of a job that took at least after is told where no window of the program is
    // active: by default, through the desktop's notification service after five seconds.
    void notifyWith(std::unique_ptr<DesktopNotifier> notifier, std::chrono::milliseconds after);

Q_SIGNALS:
    // A job ended, its box shown (none where the user had declined it).
    void jobEnded(const JobResult &result);
    // Something was posted from the job's thread for this one to do.
    void posted(QPrivateSignal);

private:
    void ask(const Question &question, std::shared_ptr<PendingAnswer> answer) override;
    void finished(const JobResult &result) override;
    // On this thread: the window goes, the box comes.
    void end(const JobResult &result);
    // From the job's thread: runs what on this thread, once it gets there. What is posted waits
    // under a mutex of our own rather than in Qt's event, so that every hand-over between the
    // threads is one the sanitizers see.
    void post(std::function<void()> what);
    void runPosted();
    void showProgress();
    void notifyEnd(const JobResult &result);
    QString endTitle(const JobResult &result) const;
    // The title of its questions' boxes, and "A split" and the like, for the job under way.
    QString questionTitle() const;
    QString workName() const;

    const FileSystem &m_files;
    std::unique_ptr<JobRunner> m_runner;
    std::unique_ptr<frmWait> m_window;
    std::unique_ptr<ProgressText> m_text;
    std::unique_ptr<LauncherProgress> m_launcher;
    QTimer m_ticks;
    QElapsedTimer m_clock; // since the job started
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::chrono::milliseconds m_notifyAfter{5000};
    Job::Kind m_kind = Job::Kind::Split;
    bool m_quitWhenEnded = false;
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;
};
