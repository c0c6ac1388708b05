#include "jobs/JobRunner.h"

#include "Task.h"

JobRunner::JobRunner(std::unique_ptr<Job> job, JobFront &front, const FileSystem &files)
    : m_job(std::move(job))
    , m_front(front)
    , m_files(files) {}

JobRunner::~JobRunner() {
    stop();
    m_task.reset();
}

void JobRunner::start() {
    try {
        m_task = std::make_unique<Task>([this] {
            const Work work{m_progress, m_stop, *this, m_files};
            m_front.finished(m_job->run(work));
        });
    } catch (...) { // no thread to spare
        m_front.finished(m_job->failed(Failure::current()));
    }
}

void JobRunner::stop() {
    m_stop.request();
    std::shared_ptr<PendingAnswer> pending;
    {
        const std::lock_guard lock(m_mutex);
        pending = m_pending.lock();
    }
    if (pending) {
        const std::lock_guard lock(pending->m_mutex);
        pending->m_given.notify_all();
    }
}

void JobRunner::wait() {
    if (m_task)
        m_task->wait();
}

bool JobRunner::ask(const Question &question) {
    auto answer = std::make_shared<PendingAnswer>();
    {
        const std::lock_guard lock(m_mutex);
        m_pending = answer;
    }
    if (!m_stop.requested())
        m_front.ask(question, answer);
    std::unique_lock lock(answer->m_mutex);
    // A stop asked for before or while the front asks is a No: nothing more is done.
    answer->m_given.wait(lock, [&] { return answer->m_answer || m_stop.requested(); });
    answer->m_abandoned = true;
    return answer->m_answer.value_or(false) && !m_stop.requested();
}

void PendingAnswer::give(bool yes) {
    const std::lock_guard lock(m_mutex);
    if (!m_answer)
        m_answer = yes;
    m_given.notify_all();
}

bool PendingAnswer::stillWanted() const {
    const std::lock_guard lock(m_mutex);
    return !m_answer && !m_abandoned;
}
