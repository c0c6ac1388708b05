#include "Failure.h"

#include <QDir>

#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

namespace {

Failure::Kind kindOfError(int error) {
    switch (error) {
    case ENOENT:
        return Failure::Kind::NotFound;
    case EEXIST:
        return Failure::Kind::Exists;
    case EACCES:
    case EPERM:
    case EROFS:
        return Failure::Kind::NotAllowed;
    case ENOSPC:
    case EDQUOT:
        return Failure::Kind::NoRoom;
    case EFBIG:
        return Failure::Kind::TooLarge;
    case ENOMEM:
        return Failure::Kind::NoMemory;
    default:
        return Failure::Kind::System;
    }
}

Failure::Kind kindOfCode(Failure::Code code) {
    switch (code) {
#define TESSARY_FAILURE_CODE(code, kind)                                                           \
    case Failure::Code::code:                                                                      \
        return Failure::Kind::kind;
        TESSARY_FAILURE_CODES(TESSARY_FAILURE_CODE)
#undef TESSARY_FAILURE_CODE
    }
    return Failure::Kind::System;
}

} // namespace

Failure::Failure(Code code, QString path, QList<FailureArg> args)
    : m_code(code)
    , m_path(std::move(path))
    , m_args(std::move(args)) {
    describeForLogs();
}

void Failure::describeForLogs() noexcept {
    try {
        describeForLogsOrThrow();
    } catch (...) { // no memory left to describe it: the code alone tells it
        m_what.clear();
    }
}

void Failure::describeForLogsOrThrow() {
    QString text = QString::fromLatin1(codeName(m_code));
    if (m_systemError != 0)
        text += u' ' + qt_error_string(m_systemError);
    for (const FailureArg &arg : std::as_const(m_args))
        text += QStringLiteral(" [") +
                (arg.string.isEmpty() ? QString::number(arg.number) : arg.string) + u']';
    for (const Failure &part : m_parts)
        text += QStringLiteral(" (") + QString::fromUtf8(part.what()) + u')';
    m_what =
        (m_path.isEmpty() ? text : QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + text)
            .toUtf8();
}

Failure::Kind Failure::kind() const noexcept {
    if (m_code == Code::System)
        return kindOfError(m_systemError);
    // A reason made of another's is as grave as that one.
    if (m_code == Code::OutputNotExamined && !m_parts.empty())
        return m_parts.front().kind();
    return kindOfCode(m_code);
}

const char *Failure::codeName(Code code) noexcept {
    switch (code) {
#define TESSARY_FAILURE_CODE(code, kind)                                                           \
    case Code::code:                                                                               \
        return #code;
        TESSARY_FAILURE_CODES(TESSARY_FAILURE_CODE)
#undef TESSARY_FAILURE_CODE
    }
    return "?";
}

Failure Failure::fromSystemError(QString path, int error) {
    Failure failure(Code::System, std::move(path));
    failure.m_systemError = error;
    failure.describeForLogs();
    return failure;
}

Failure Failure::stopped() {
    return Failure(Code::Stopped);
}

Failure Failure::refused(std::vector<Failure> refusals) {
    Failure failure(Code::SplitRefused);
    failure.m_parts = std::move(refusals);
    failure.describeForLogs();
    return failure;
}

Failure Failure::because(Code code, QString path, QList<FailureArg> args, Failure cause) {
    Failure failure(code, std::move(path), std::move(args));
    failure.m_parts.push_back(std::move(cause));
    failure.describeForLogs();
    return failure;
}

Failure Failure::withPath(QString path) const {
    Failure failure = *this;
    failure.m_path = std::move(path);
    failure.describeForLogs();
    return failure;
}

Failure Failure::current() noexcept {
    try {
        try {
            throw;
        } catch (const Failure &failure) {
            return failure;
        } catch (const std::bad_alloc &) {
            return Failure(Code::NoMemory);
        } catch (const std::system_error &error) {
            return Failure(Code::OtherError, {},
                           {FailureArg::text(QString::fromStdString(error.code().message()))});
        } catch (const std::exception &error) {
            return Failure(Code::OtherError, {},
                           {FailureArg::text(QString::fromLocal8Bit(error.what()))});
        } catch (...) {
            return Failure(Code::UnknownError);
        }
    } catch (...) { // no memory left even to tell it
        return Failure(Code::NoMemory);
    }
}
