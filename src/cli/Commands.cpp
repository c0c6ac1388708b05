#include "Commands.h"
#include "CliText.h"

#include "Failure.h"
#include "RemotePath.h"
#include "SizeArgument.h"
#include "Terminal.h"
#include "jobs/JoinJob.h"
#include "jobs/RemoteJoinJob.h"
#include "jobs/RemoteSplitJob.h"
#include "jobs/RemoteVerifyJob.h"
#include "jobs/SplitJob.h"
#include "jobs/VerifyJob.h"
#include "names/OutputKinds.h"

#include <QCoreApplication>
#include <QDir>

#include <variant>

namespace Cli {

namespace {

class Split : public Command {
public:
    explicit Split(const Tuning &tuning)
        : Command(QStringLiteral("split"), tuning) {}

protected:
    int execute() override {
        SplitRequest request;
        if (const std::optional<QString> problem = readRequest(request))
            return usage(m_name, *problem);
        if (RemotePath::parse(request.outputFolder) && request.alignToBlocks)
            return usage(m_name, CliText::tr("--aligned rounds to the blocks of a folder's file "
                                             "system, which a remote (-o REMOTE:path) has not"));
        if (RemotePath::parse(request.outputFolder))
            return runJob(std::make_unique<RemoteSplitJob>(
                RemoteSplitRequest{request, m_parser.isSet(QStringLiteral("mkdir")),
                                   m_parser.isSet(QStringLiteral("resume"))}));
        if (m_parser.isSet(QStringLiteral("mkdir")) || m_parser.isSet(QStringLiteral("resume")))
            return usage(m_name, CliText::tr("--mkdir and --resume are for a split to a remote "
                                             "(-o REMOTE:path)"));
        return runJob(std::make_unique<SplitJob>(request, m_tuning.run));
    }

private:
    // Fills request from the command line; what is wrong with it otherwise.
    std::optional<QString> readRequest(SplitRequest &request) const {
        const QStringList files = m_parser.positionalArguments();
        if (files.isEmpty())
            return CliText::tr("No files to be converted.  You need to add files to be "
                               "converted");
        if (files.contains(QString()))
            return CliText::tr("an empty argument: no file name given");
        if (std::optional<QString> problem = readPieceSize(request))
            return problem;
        if (std::optional<QString> problem = readRecovery(request))
            return problem;
        // "." rather than the current folder's path, which may have gone: the check then says
        // so of the folder itself.
        request.outputFolder = QDir::toNativeSeparators(
            m_parser.isSet(QStringLiteral("output")) ? m_parser.value(QStringLiteral("output"))
                                                     : QStringLiteral("."));
        for (const OutputKind &output : kOutputKinds) {
            if (output.mayBeLeftOut() && m_parser.isSet(QString::fromUtf16(output.leaveOutSwitch)))
                request.leftOut << output.kind;
        }
        for (const QString &file : files)
            request.queue.append(queuedFile(file));
        return std::nullopt;
    }

    std::optional<QString> readRecovery(SplitRequest &request) const {
        if (!m_parser.isSet(QStringLiteral("recovery")))
            return std::nullopt;
        QString amount = m_parser.value(QStringLiteral("recovery"));
        request.recovery.inPercent = amount.endsWith(u'%');
        if (request.recovery.inPercent)
            amount.chop(1);
        bool ok = false;
        request.recovery.amount = amount.toLongLong(&ok);
        if (!ok || request.recovery.amount < 1 ||
            (request.recovery.inPercent && request.recovery.amount > 100))
            return CliText::tr("\"%1\" is not an amount of recovery: give a number of pieces, 1 "
                               "or more, or a percentage from 1% to 100%")
                .arg(m_parser.value(QStringLiteral("recovery")));
        return std::nullopt;
    }

    std::optional<QString> readPieceSize(SplitRequest &request) const {
        const bool bySize = m_parser.isSet(QStringLiteral("size"));
        const bool byCount = m_parser.isSet(QStringLiteral("pieces"));
        if (bySize && byCount)
            return CliText::tr("give a size (-s) or a number of pieces (-n), not both");
        if (byCount && m_parser.isSet(QStringLiteral("aligned")))
            return CliText::tr("--aligned rounds a size (-s) down, and takes no number of pieces "
                               "(-n)");
        if (byCount) {
            bool ok = false;
            request.pieceCount = m_parser.value(QStringLiteral("pieces")).toLongLong(&ok);
            if (!ok || request.pieceCount < 1)
                return CliText::tr("\"%1\" is not a number of pieces: give a whole number, 1 "
                                   "or more")
                    .arg(m_parser.value(QStringLiteral("pieces")));
            return std::nullopt;
        }
        if (!bySize)
            return CliText::tr("No output file size selected.  You need to select the Output "
                               "File Size you want");
        const auto length = SizeArgument::pieceLength(m_parser.value(QStringLiteral("size")));
        if (const auto *problem = std::get_if<SizeArgument::Problem>(&length))
            return problem->text;
        request.pieceLength = std::get<qint64>(length);
        request.alignToBlocks = m_parser.isSet(QStringLiteral("aligned"));
        return std::nullopt;
    }
};

// A command on one file, a restore script, a first piece or a checksum list.
class OneFileCommand : public Command {
public:
    using Command::Command;

protected:
    int execute() override {
        const QStringList files = m_parser.positionalArguments();
        if (files.size() != 1)
            return usage(m_name, files.isEmpty() ? CliText::tr("which file?")
                                                 : CliText::tr("one file at a time"));
        if (files.first().isEmpty())
            return usage(m_name, CliText::tr("an empty argument: no file name given"));
        return execute(files.first());
    }
    virtual int execute(const QString &file) = 0;
};

class Join : public OneFileCommand {
public:
    explicit Join(const Tuning &tuning)
        : OneFileCommand(QStringLiteral("join"), tuning) {}

protected:
    int execute(const QString &file) override {
        const bool yes = m_parser.isSet(QStringLiteral("yes"));
        if (std::optional<RemotePath> remote = RemotePath::parse(file))
            return runJob(std::make_unique<RemoteJoinJob>(std::move(*remote),
                                                          m_parser.value(QStringLiteral("output"))),
                          yes);
        if (m_parser.isSet(QStringLiteral("output")))
            return usage(m_name, CliText::tr("-o is for a join from a remote; a join writes "
                                             "the file beside its pieces"));
        return runJob(std::make_unique<JoinJob>(file, m_tuning.run.copyMethod), yes);
    }
};

class Verify : public OneFileCommand {
public:
    explicit Verify(const Tuning &tuning)
        : OneFileCommand(QStringLiteral("verify"), tuning) {}

protected:
    int execute(const QString &file) override {
        // Quiet, a check says what is wrong, not the thousands of pieces that match.
        const RunMessages::Listed listed =
            quiet() ? RunMessages::Listed::WhatIsWrong : RunMessages::Listed::Everything;
        if (std::optional<RemotePath> remote = RemotePath::parse(file))
            return runJob(std::make_unique<RemoteVerifyJob>(std::move(*remote), listed));
        return runJob(std::make_unique<VerifyJob>(file, listed));
    }
};

} // namespace

std::unique_ptr<Command> commandNamed(const QString &name, const Tuning &tuning) {
    if (name == u"split")
        return std::make_unique<Split>(tuning);
    if (name == u"join")
        return std::make_unique<Join>(tuning);
    if (name == u"verify")
        return std::make_unique<Verify>(tuning);
    return nullptr;
}

} // namespace Cli
