#pragma once

#include <functional>
#include <memory>

// A function run on a thread of its own; the task waits for it to return when it ends. The one
// place where Tessary starts threads, so that each is joined on every path and a system with no
// thread to spare is told the same way everywhere: as a Failure, from the constructor.
class Task {
public:
    explicit Task(std::function<void()> work);
    ~Task(); // waits for the work to return
    Task(Task &&) noexcept;
    Task &operator=(Task &&) noexcept;
    Task(const Task &) = delete;
    Task &operator=(const Task &) = delete;

    // Waits now for the work to return.
    void wait();

private:
    struct Thread;
    std::unique_ptr<Thread> m_thread;
};
