#pragma once

#include "FileSystem.h"
#include "jobs/Job.h"
#include "run/ProgressCounter.h"
#include "run/Questions.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

class Task;

// The answer to a question of a job, given once, from any thread: the job waits for it, or for a
// stop, which answers No.
class PendingAnswer {
public:
    void give(bool yes);
    // Whether it is still waited for: not once given, nor once a stop ended the wait.
    bool stillWanted() const;

private:
    friend class JobRunner;
    mutable std::mutex m_mutex;
    std::condition_variable m_given;
    std::optional<bool> m_answer;
    bool m_abandoned = false;
};

// How a front end shows a job: the window, or the terminal.
class JobFront {
public:
    virtual ~JobFront() = default;
    // A question of the job, asked on the job's thread: the front gives its answer, then or
    // later, from its own thread. The job waits for it, or for a stop.
    virtual void ask(const Question &question, std::shared_ptr<PendingAnswer> answer) = 0;
    // The job has ended: called once, on the job's thread (in JobRunner::start() where no
    // thread could be had for it).
    virtual void finished(const JobResult &result) = 0;
};

// Runs one job on a thread of its own, carries its progress and its stop, and hands its
// questions and its result to the front. The one way a long operation is started, from the
// window and the command line alike.
class JobRunner : private Questions {
public:
    JobRunner(std::unique_ptr<Job> job, JobFront &front,
              const FileSystem &files = FileSystem::system());
    // Asks the job to stop, and waits until it has.
    ~JobRunner() override;
    JobRunner(const JobRunner &) = delete;
    JobRunner &operator=(const JobRunner &) = delete;

    const Job &job() const { return *m_job; }
    // Starts the job; where the system has no thread to spare, tells the front it failed.
    void start();
    // Asks the job to stop, as Cancel does: it stops between chunks, and a question it is
    // waiting on is answered No.
    void stop();
    // The stop, for what asks for it from elsewhere (a signal).
    StopRequest &stopRequest() { return m_stop; }
    bool stopRequested() const { return m_stop.requested(); }
    // How far it is, for a front to read now and then.
    const ProgressCounter &counter() const { return m_progress; }
    // Returns once the job has ended and the front was told.
    void wait();

private:
    bool ask(const Question &question) override;

    std::unique_ptr<Job> m_job;
    JobFront &m_front;
    const FileSystem &m_files;
    ProgressCounter m_progress;
    StopRequest m_stop;
    std::mutex m_mutex;
    std::weak_ptr<PendingAnswer> m_pending; // the question waited on, which a stop answers
    std::unique_ptr<Task> m_task;           // last: it ends first
};
