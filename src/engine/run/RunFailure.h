#pragma once

#include <QString>

#include <exception>

// What a failure says to the user: the file it concerns, when it concerns one, and why.
struct RunFailure {
    QString path;
    QString reason;
};

// Any exception a run meets, described: a FileError with its path and the system's words,
// memory running out, a thread the system would not start, or anything else with its own
// words.
RunFailure describeFailure(const std::exception_ptr &failure);

struct RunResult;
// Ends result as failed, for the exception being handled.
void recordFailure(RunResult &result);
