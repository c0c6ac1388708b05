#pragma once

#include "FileSystem.h"
#include "jobs/JobRunner.h"

#include <QObject>
#include <QTimer>

#include <memory>

class LauncherProgress;
class ProgressText;
class frmWait;

// How a job shows in the window: the wait window up while the job runs on a thread of its own,
// its progress in it and in the launcher entry ten times a second, Cancel, Escape and closing it
// asking the job to stop; the job's questions answered with a box on this thread, and its end
// told in a box. This thread goes on with its own events meanwhile: nothing here waits for the
// job but the destructor. The wait window, being modal, holds the input of every other window.
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

Q_SIGNALS:
    // A job ended, its box shown (none where the user had declined it).
    void jobEnded(const JobResult &result);

private:
    void ask(const Question &question, std::shared_ptr<PendingAnswer> answer) override;
    void finished(const JobResult &result) override;
    // On this thread: the window goes, the box comes.
    void end(const JobResult &result);
    void showProgress();
    // The title of its questions' boxes, and "A split" and the like, for the job under way.
    QString questionTitle() const;
    QString workName() const;

    const FileSystem &m_files;
    std::unique_ptr<JobRunner> m_runner;
    std::unique_ptr<frmWait> m_window;
    std::unique_ptr<ProgressText> m_text;
    std::unique_ptr<LauncherProgress> m_launcher;
    QTimer m_ticks;
    Job::Kind m_kind = Job::Kind::Split;
    bool m_quitWhenEnded = false;
};
