#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <vector>

// Why something could not be done, the one way a failure is told in Tessary: what kind of
// failure it is, which callers act on (a stop is no error, a No from the user needs no box),
// the path it concerns (empty when it concerns none) and the reason in plain words, the
// system's own where the system gave them. Raised where the failure is found and carried
// unchanged, in results too, up to the window or the terminal, which each turn the kinds into
// their boxes and exit statuses in one place.
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

    Failure(Kind kind, QString path, QString reason);

    // The failure the system reported for path (an errno value), in the system's own words.
    static Failure fromSystemError(QString path, int error);
    // A stop that was asked for.
    static Failure stopped();
    // Everything a check refused, each with its path and reason.
    static Failure refused(std::vector<Failure> refusals, QString text);
    // The exception being handled, of whatever type (memory running out, a thread the system
    // would not start), as a failure.
    static Failure current() noexcept;

    Kind kind() const noexcept { return m_kind; }
    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }
    const std::vector<Failure> &parts() const noexcept { return m_parts; }

    // "path: reason", UTF-8.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    Kind m_kind;
    QString m_path;
    QString m_reason;
    std::vector<Failure> m_parts;
    QByteArray m_what;
};
