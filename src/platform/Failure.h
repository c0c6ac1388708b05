#pragma once

#include "FailureCodes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <exception>
#include <utility>
#include <vector>

// One value a failure's reason is made of, kept as what it is (a path, a count, a line read
// from a file), so that the words can show it as the user's language shows such a thing.
struct FailureArg {
    enum class Type { Text, Path, Name, Line, Count, Bytes, PreciseBytes, FileKind };
    Type type = Type::Text;
    QString string;
    qint64 number = 0;

    static FailureArg text(QString text) { return {Type::Text, std::move(text), 0}; }
    static FailureArg path(QString path) { return {Type::Path, std::move(path), 0}; }
    static FailureArg name(QString name) { return {Type::Name, std::move(name), 0}; }
    static FailureArg line(QString line) { return {Type::Line, std::move(line), 0}; }
    static FailureArg count(qint64 count) { return {Type::Count, {}, count}; }
    static FailureArg bytes(qint64 bytes) { return {Type::Bytes, {}, bytes}; }
    static FailureArg preciseBytes(qint64 bytes) { return {Type::PreciseBytes, {}, bytes}; }
    // A FileKind, as a number.
    static FailureArg fileKind(int kind) { return {Type::FileKind, {}, kind}; }
    bool operator==(const FailureArg &) const = default;
};

// Why something could not be done, the one way a failure is told in Tessary: a precise code
// (FailureCodes.h) with the values its reason is made of, the kind of failure it is, which
// callers act on (a stop is no error, a No from the user needs no box), and the path it
// concerns (empty when it concerns none). Raised where the failure is found and carried
// unchanged, in results too, up to the window or the terminal, which word it
// (words/FailureText.h) and turn its kind into their boxes and exit statuses in one place.
class Failure : public std::exception {
public:
    enum class Kind {
        NotFound,   // a file or piece that is not there
        Exists,     // a file that appeared where one was to be made
        NotOurs,    // a file of the user's that a split would have to replace
        NotAllowed, // the system's permissions
        Unusable,   // what stands there is not what it must be: a link, a folder, a foreign script
        Changed,    // a file that changed after it was checked, or while it was read
        Damaged,    // a piece or a file that does not match its checksum list
        NoRoom,     // too little space, or too few files, on the volume
        TooLarge,   // more than the volume, or the reader, holds
        Busy,       // another Tessary run is writing the same files
        Refused,    // a split that its check refused: the refusals are its parts
        Declined,   // the user answered No
        Stopped,    // a stop was asked for
        NoMemory,
        System, // any other failure the system reported
    };

#define TESSARY_FAILURE_CODE(code, kind) code,
    enum class Code { TESSARY_FAILURE_CODES(TESSARY_FAILURE_CODE) };
#undef TESSARY_FAILURE_CODE

    explicit Failure(Code code, QString path = {}, QList<FailureArg> args = {});

    // The failure the system reported for path (an errno value).
    static Failure fromSystemError(QString path, int error);
    // A stop that was asked for.
    static Failure stopped();
    // Everything a check refused, each with its path and reason.
    static Failure refused(std::vector<Failure> refusals);
    // code, whose reason follows from cause's.
    static Failure because(Code code, QString path, QList<FailureArg> args, Failure cause);
    // The exception being handled, of whatever type (memory running out, a thread the system
    // would not start), as a failure.
    static Failure current() noexcept;

    // The same failure, of another path.
    Failure withPath(QString path) const;

    Code code() const noexcept {
        return m_code;
    }
    Kind kind() const noexcept;
    const QString &path() const noexcept {
        return m_path;
    }
    const QList<FailureArg> &args() const noexcept {
        return m_args;
    }
    // The refusals of a refused split, or the cause of a reason made of another.
    const std::vector<Failure> &parts() const noexcept {
        return m_parts;
    }
    // The system's error number, for Code::System; 0 otherwise.
    int systemError() const noexcept {
        return m_systemError;
    }

    // "path: Code arg...", untranslated, for logs and test reports; the user reads the words.
    const char *what() const noexcept override {
        return m_what.constData();
    }

    // The name of a code, as in FailureCodes.h.
    static const char *codeName(Code code) noexcept;

private:
    void describeForLogs() noexcept;
    void describeForLogsOrThrow();

    Code m_code;
    QString m_path;
    QList<FailureArg> m_args;
    std::vector<Failure> m_parts;
    int m_systemError = 0;
    QByteArray m_what;
};
