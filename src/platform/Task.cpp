#include "Task.h"

#include "Failure.h"

#include <system_error>
#include <thread>
#include <utility>

struct Task::Thread {
    std::thread thread;
};

Task::Task(std::function<void()> work)
    : m_thread(std::make_unique<Thread>()) {
    try {
        m_thread->thread = std::thread(std::move(work));
    } catch (const std::system_error &error) {
        throw Failure(Failure::Code::NoThreadToSpare, {},
                      {FailureArg::text(QString::fromStdString(error.code().message()))});
    }
}

Task::~Task() {
    wait();
}

Task::Task(Task &&) noexcept = default;

Task &Task::operator=(Task &&other) noexcept {
    if (this != &other) {
        wait();
        m_thread = std::move(other.m_thread);
    }
    return *this;
}

void Task::wait() {
    if (m_thread && m_thread->thread.joinable())
        m_thread->thread.join();
}
