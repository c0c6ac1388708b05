#include "Par2Program.h"

#include "Failure.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>

namespace Par2Program {

namespace {

const QString kProgram = QStringLiteral("par2");

// How often a stop is looked for while par2 says nothing.
constexpr int kPollMs = 100;

// Hands on each whole line of text, ended by a line feed or by the carriage return par2 ends
// its progress lines with; what follows the last end waits in pending for the rest.
void handLines(QString &pending, const QString &text,
               const std::function<void(const QString &)> &onLine) {
    pending += text;
    qsizetype start = 0;
    for (qsizetype at = 0; at < pending.size(); ++at) {
        if (pending[at] != u'\n' && pending[at] != u'\r')
            continue;
        if (at > start && onLine)
            onLine(pending.mid(start, at - start));
        start = at + 1;
    }
    pending.remove(0, start);
}

} // namespace

QString Outcome::lastLine() const {
    // par2 ends its progress lines with a carriage return alone.
    const QStringList lines =
        output.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->trimmed().isEmpty())
            return line->trimmed();
    }
    return {};
}

bool isAvailable() {
    return !QStandardPaths::findExecutable(kProgram).isEmpty();
}

Failure absent() {
    return Failure(Failure::Code::Par2Missing);
}

Outcome run(const QStringList &arguments, const QString &folder, const QString &concerning,
            const std::function<void(const QString &line)> &onLine,
            const std::function<bool()> &keepGoing) {
    QProcess par2;
    par2.setWorkingDirectory(folder);
    par2.setProcessChannelMode(QProcess::MergedChannels);
    par2.setProgram(kProgram);
    par2.setArguments(arguments);
    par2.start(QIODevice::ReadOnly);
    if (!par2.waitForStarted())
        throw isAvailable() ? Failure(Failure::Code::Par2NotStarted, concerning,
                                      {FailureArg::text(par2.errorString())})
                            : absent().withPath(concerning);
    Outcome outcome;
    QString pending;
    // One decoder for the whole output: a name's letter may be cut between two reads.
    QStringDecoder decode(QStringDecoder::System);
    for (;;) {
        if (!keepGoing()) {
            par2.terminate();
            if (!par2.waitForFinished(5000))
                par2.kill();
            par2.waitForFinished();
            throw Failure::stopped();
        }
        const bool said = par2.waitForReadyRead(kPollMs);
        const QString text = decode(par2.readAll());
        outcome.output += text;
        handLines(pending, text, onLine);
        if (!said && (par2.state() == QProcess::NotRunning || par2.waitForFinished(0)))
            break;
    }
    const QString rest = decode(par2.readAll());
    outcome.output += rest;
    handLines(pending, rest + u'\n', onLine);
    // Ctrl+C on a terminal reaches par2 too, and may end it before the loop saw the stop.
    if (!keepGoing())
        throw Failure::stopped();
    if (par2.exitStatus() != QProcess::NormalExit)
        throw Failure(Failure::Code::Par2EndedEarly, concerning,
                      {FailureArg::text(par2.errorString())});
    outcome.exitCode = par2.exitCode();
    return outcome;
}

} // namespace Par2Program
