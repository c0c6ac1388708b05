#include "Par2Program.h"

#include "Failure.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <optional>

namespace Par2Program {

namespace {

class Par2Text {
    Q_DECLARE_TR_FUNCTIONS(Par2)
};

const QString kProgram = QStringLiteral("par2");

// How often a stop is looked for while par2 says nothing.
constexpr int kPollMs = 100;

// The last "12.3%" in text, as 0.123.
std::optional<double> lastPercent(const QString &text) {
    static const QRegularExpression percent(QStringLiteral("([0-9]+(?:\\.[0-9]+)?)%"));
    std::optional<double> last;
    for (const QRegularExpressionMatch &match : percent.globalMatch(text))
        last = match.captured(1).toDouble() / 100;
    return last;
}

} // namespace

bool isAvailable() {
    return !QStandardPaths::findExecutable(kProgram).isEmpty();
}

QString absentReason() {
    return Par2Text::tr("recovery files need the par2 program (apt install par2)");
}

Outcome run(const QStringList &arguments, const QString &folder,
            const std::function<void(double)> &progress, const std::function<bool()> &keepGoing) {
    QProcess par2;
    par2.setWorkingDirectory(folder);
    par2.setProcessChannelMode(QProcess::MergedChannels);
    par2.setProgram(kProgram);
    par2.setArguments(arguments);
    par2.start(QIODevice::ReadOnly);
    if (!par2.waitForStarted())
        throw Failure(Failure::Kind::NotFound, {}, absentReason());
    Outcome outcome;
    for (;;) {
        if (!keepGoing()) {
            par2.terminate();
            if (!par2.waitForFinished(5000))
                par2.kill();
            par2.waitForFinished();
            throw Failure::stopped();
        }
        const bool said = par2.waitForReadyRead(kPollMs);
        const QString text = QString::fromLocal8Bit(par2.readAll());
        outcome.output += text;
        if (const std::optional<double> done = lastPercent(text); done && progress)
            progress(*done);
        if (!said && (par2.state() == QProcess::NotRunning || par2.waitForFinished(0)))
            break;
    }
    outcome.output += QString::fromLocal8Bit(par2.readAll());
    if (par2.exitStatus() != QProcess::NormalExit)
        throw Failure(Failure::Kind::System, {}, Par2Text::tr("the par2 program ended early"));
    outcome.exitCode = par2.exitCode();
    return outcome;
}

} // namespace Par2Program
