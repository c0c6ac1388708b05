#include "Verify.h"

#include "FileError.h"
#include "OutputFolder.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "Saturating.h"
#include "Sha256.h"
#include "SourceFile.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <thread>

namespace {

constexpr qint64 kBufferBytes = qint64(1) << 20;
const QString kListSuffix = QStringLiteral(".sha256");

struct Stopped {};

// The digest of the file at name in folder, read through buffer; nothing when a stop came.
QByteArray digestOf(const SourceFile &file, char *buffer, ProgressSink &progress,
                    const StopRequest &stop) {
    Sha256 hash;
    for (qint64 offset = 0;;) {
        if (stop.requested())
            throw Stopped();
        const qint64 got = file.readAt(buffer, kBufferBytes, offset);
        if (got == 0)
            return hash.hexDigest();
        hash.add(buffer, got);
        offset += got;
        progress.bytesCopied(got);
    }
}

// How the file at name compares with digest.
VerifyResult::Entry check(const OutputFolder &folder, const QString &text, const QByteArray &digest,
                          char *buffer, ProgressSink &progress, const StopRequest &stop) {
    using Status = VerifyResult::Status;
    const QByteArray name = fileSystemName(text);
    const FileFacts facts = folder.facts(name);
    if (facts.kind == FileKind::Missing)
        return {text, Status::Missing, {}};
    if (facts.kind != FileKind::Regular)
        return {text, Status::Damaged, QStringLiteral("it is %1").arg(describeKind(facts.kind))};
    const SourceFile file(folder, name);
    return {text,
            digestOf(file, buffer, progress, stop) == digest ? Status::Matches : Status::Damaged,
            {}};
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

        // The joined file, when it is there, on a thread of its own beside the pieces.
        std::exception_ptr wholeFailure;
        std::thread wholeThread;
        if (withWhole)
            wholeThread = std::thread([&] {
                try {
                    const auto buffer = std::make_unique<char[]>(kBufferBytes);
                    result.whole = check(*plan.folder, plan.names.fileName(), plan.list.whole,
                                         buffer.get(), progress, stop);
                } catch (...) {
                    wholeFailure = std::current_exception();
                }
            });
        const auto joinWhole = [&] {
            if (wholeThread.joinable())
                wholeThread.join();
        };
        try {
            const auto buffer = std::make_unique<char[]>(kBufferBytes);
            for (qint64 piece = 1; piece <= plan.list.pieces.size(); ++piece)
                result.pieces.append(check(*plan.folder, plan.names.piece(piece),
                                           plan.list.pieces[piece - 1], buffer.get(), progress,
                                           stop));
            // A join from the first piece would take in what follows the last listed.
            for (qint64 piece = plan.list.pieces.size() + 1;
                 plan.folder->facts(plan.names.pieceOnDisk(piece)).kind != FileKind::Missing;
                 ++piece)
                result.pieces.append({plan.names.piece(piece), VerifyResult::Status::Unlisted, {}});
        } catch (...) {
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
