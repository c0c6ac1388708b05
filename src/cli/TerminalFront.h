#pragma once

#include "jobs/JobRunner.h"

#include <optional>

class TerminalProgress;

// How a job shows on a terminal: its questions printed and answered as -y says (No without it),
// over the progress line where one is drawn, and its result kept for the command to tell.
class TerminalFront : public JobFront {
public:
    explicit TerminalFront(bool yes)
        : m_yes(yes) {}

    // The progress line the questions interrupt, while one is drawn.
    void showProgress(TerminalProgress *progress) { m_progress = progress; }
    const JobResult &result() const { return *m_result; }

    void ask(const Question &question, std::shared_ptr<PendingAnswer> answer) override;
    void finished(const JobResult &result) override { m_result = result; }

private:
    const bool m_yes;
    TerminalProgress *m_progress = nullptr;
    std::optional<JobResult> m_result;
};
