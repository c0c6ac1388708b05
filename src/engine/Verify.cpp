#include "Verify.h"

#include "FileDigest.h"
#include "FileError.h"
#include "OutputFolder.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "Saturating.h"
#include "SourceFile.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

struct Stopped {};

// How the file at name compares with digest; throws Stopped once keepGoing() says no.
VerifyResult::Entry check(const OutputFolder &folder, const QString &text, const QByteArray &digest,
                          ProgressSink &progress, const std::function<bool()> &keepGoing) {
    using Status = VerifyResult::Status;
    const QByteArray name = fileSystemName(text);
    const FileFacts facts = folder.facts(name);
    if (facts.kind == FileKind::Missing)
        return {text, Status::Missing, {}};
    if (facts.kind != FileKind::Regular)
        return {text, Status::Damaged, QStringLiteral("it is %1").arg(describeKind(facts.kind))};
    const std::optional<FileDigest> found =
        digestOfFile(SourceFile(folder, name), keepGoing,
                     [&progress](qint64 bytes) { progress.bytesCopied(bytes); });
    if (!found)
        throw Stopped();
    return {text, found->hex == digest ? Status::Matches : Status::Damaged, {}};
}

} // namespace

VerifyPlan::VerifyPlan() = default;
VerifyPlan::VerifyPlan(VerifyPlan &&) noexcept = default;
VerifyPlan &VerifyPlan::operator=(VerifyPlan &&) noexcept = default;
VerifyPlan::~VerifyPlan() = default;

VerifyPlan planVerify(const QString &chosen) {
    const QFileInfo info(chosen);
    const std::optional<OutputNames::Entry> output = OutputNames::parse(info.fileName());
    if (!output || (output->kind == OutputNames::Kind::Piece && output->piece != 1))
        throw FileError(chosen, QStringLiteral("choose the checksum list, the restore script or "
                                               "the first piece (the one whose name ends in .1)"));
    VerifyPlan plan;
    plan.folder = std::make_unique<OutputFolder>(QDir::toNativeSeparators(info.absolutePath()));
    plan.names = OutputNames(output->fileName);
    plan.list = readChecksumList(*plan.folder, plan.names, std::nullopt);
    if (plan.list.path.isEmpty())
        throw FileError(chosen, QStringLiteral("no checksum list (%1) stands beside it, so there "
                                               "is nothing to check the pieces against")
                                    .arg(plan.names.checksums()));
    return plan;
}

bool VerifyResult::allMatch() const {
    auto matches = [](const Entry &entry) { return entry.status == Status::Matches; };
    return std::all_of(pieces.cbegin(), pieces.cend(), matches) && (!whole || matches(*whole));
}

VerifyResult runVerify(const VerifyPlan &plan, ProgressSink &progress, const StopRequest &stop) {
    VerifyResult result;
    try {
        qint64 bytes = 0;
        for (qint64 piece = 1; piece <= plan.list.pieces.size(); ++piece)
            bytes = saturatingAdd(bytes, plan.folder->facts(plan.names.pieceOnDisk(piece)).size);
        const QByteArray wholeName = fileSystemName(plan.names.fileName());
        const bool withWhole =
            !plan.list.whole.isEmpty() && plan.folder->facts(wholeName).kind != FileKind::Missing;
        if (withWhole)
            bytes = saturatingAdd(bytes, plan.folder->facts(wholeName).size);
        progress.runStarted(1, bytes);
        progress.fileStarted(0, plan.names.fileName(), bytes);

        // The joined file, when it is there, on a thread of its own beside the pieces; it
        // gives up as soon as they fail.
        std::atomic<bool> piecesFailed{false};
        std::exception_ptr wholeFailure;
        std::thread wholeThread;
        if (withWhole)
            wholeThread = std::thread([&] {
                try {
                    result.whole =
                        check(*plan.folder, plan.names.fileName(), plan.list.whole, progress,
                              [&] { return !stop.requested() && !piecesFailed.load(); });
                } catch (...) {
                    wholeFailure = std::current_exception();
                }
            });
        const auto joinWhole = [&] {
            if (wholeThread.joinable())
                wholeThread.join();
        };
        try {
            const auto keepGoing = [&stop] { return !stop.requested(); };
            for (qint64 piece = 1; piece <= plan.list.pieces.size(); ++piece)
                result.pieces.append(check(*plan.folder, plan.names.piece(piece),
                                           plan.list.pieces[piece - 1], progress, keepGoing));
            // A join from the first piece would take in what follows the last listed.
            for (qint64 piece = plan.list.pieces.size() + 1;
                 plan.folder->facts(plan.names.pieceOnDisk(piece)).kind != FileKind::Missing;
                 ++piece)
                result.pieces.append({plan.names.piece(piece), VerifyResult::Status::Unlisted, {}});
        } catch (...) {
            piecesFailed = true;
            joinWhole();
            throw;
        }
        joinWhole();
        if (wholeFailure)
            std::rethrow_exception(wholeFailure);
    } catch (const Stopped &) {
        result.outcome = RunOutcome::Stopped;
    } catch (...) {
        recordFailure(result);
    }
    return result;
}
