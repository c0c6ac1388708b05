#include "Failure.h"
#include "PlatformText.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

namespace {

Failure::Kind kindOf(int error) {
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

} // namespace

Failure::Failure(Kind kind, QString path, QString reason)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_reason(std::move(reason))
    , m_what((m_path.isEmpty() ? m_reason
                               : QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + m_reason)
                 .toUtf8()) {}

Failure Failure::fromSystemError(QString path, int error) {
    return Failure(kindOf(error), std::move(path), qt_error_string(error));
}

Failure Failure::stopped() {
    return Failure(Kind::Stopped, {}, PlatformText::tr("it was stopped"));
}

Failure Failure::refused(std::vector<Failure> refusals, QString text) {
    Failure failure(Kind::Refused, {}, std::move(text));
    failure.m_parts = std::move(refusals);
    return failure;
}

Failure Failure::current() noexcept {
    try {
        try {
            throw;
        } catch (const Failure &failure) {
            return failure;
        } catch (const std::bad_alloc &) {
            return Failure(Kind::NoMemory, {}, PlatformText::tr("there is not enough memory"));
        } catch (const std::system_error &error) {
            return Failure(Kind::System, {}, QString::fromStdString(error.code().message()));
        } catch (const std::exception &error) {
            return Failure(Kind::System, {}, QString::fromLocal8Bit(error.what()));
        } catch (...) {
            return Failure(Kind::System, {}, PlatformText::tr("an unknown error"));
        }
    } catch (...) { // no memory left even to tell it
        return Failure(Kind::NoMemory, {}, {});
    }
}
