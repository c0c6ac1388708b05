#pragma once

#include "messages/EndNotices.h"
#include "messages/RunMessages.h"
#include "run/RunResult.h"
#include "run/Work.h"

#include <QString>

// How a job ended, as a front end tells it: the message, and what decides the exit status or
// whether a box is shown at all.
struct JobResult {
    RunOutcome outcome = RunOutcome::Done;
    // The user answered No before anything was done: a window need say no more.
    bool declined = false;
    // Done, and everything as it should be: a check that found every piece whole.
    bool allWell = true;
    RunMessage message;
    EndNotice notice;

    // The result of a job whose run came to its end, whatever that was.
    static JobResult ofEnd(RunOutcome outcome, bool allWell, RunMessage message, EndNotice notice);
    // The result of a job that failed before it had one of its own (its plan's failure, say).
    static JobResult ofFailure(const Failure &failure, RunMessage message);
};

// One long operation, its planning included, in the spirit of KDE's KJob: a runner starts it on
// a thread of its own (JobRunner), it tells its progress, looks at its stop, asks its questions
// through the work it is given, and returns its result. Split, join and check are each one.
class Job {
public:
    enum class Kind { Split, Join, Verify };

    virtual ~Job() = default;
    virtual Kind kind() const = 0;
    // Plans and runs; never throws: every failure of whatever kind ends in the result.
    virtual JobResult run(const Work &work) noexcept = 0;
    // The result of the job ended by failure before it had one of its own.
    virtual JobResult failed(const Failure &failure) const = 0;
};
