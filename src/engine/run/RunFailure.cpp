#include "run/RunFailure.h"

#include "FileError.h"
#include "run/RunResult.h"

#include <new>
#include <system_error>

RunFailure describeFailure(const std::exception_ptr &failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const FileError &error) {
        return {error.path(), error.reason()};
    } catch (const std::bad_alloc &) {
        return {{}, QStringLiteral("there is not enough memory")};
    } catch (const std::system_error &error) {
        return {{}, QString::fromStdString(error.code().message())};
    } catch (const std::exception &error) {
        return {{}, QString::fromLocal8Bit(error.what())};
    } catch (...) {
        return {{}, QStringLiteral("an unknown error")};
    }
}

void recordFailure(RunResult &result) {
    const RunFailure failure = describeFailure(std::current_exception());
    result.outcome = RunOutcome::Failed;
    result.failedPath = failure.path;
    result.reason = failure.reason;
}
