#include "recovery/RecoveryWriter.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "Par2Program.h"
#include "PrivateFolder.h"
#include "checksums/FileSha256.h"
#include "names/OutputNames.h"
#include "recovery/Par2Progress.h"

#include <algorithm>

namespace {

// What par2 made that was not asked for, or did not make that was: both sorted.
Failure unexpectedFiles(const OutputFolder &folder, const QList<QByteArray> &wanted,
                        const QList<QByteArray> &found) {
    for (const QByteArray &name : wanted) {
        if (!std::binary_search(found.cbegin(), found.cend(), name))
            return Failure(Failure::Code::Par2DidNotMake, folder.filePath(name));
    }
    const auto extra = std::find_if(found.cbegin(), found.cend(), [&](const QByteArray &name) {
        return !std::binary_search(wanted.cbegin(), wanted.cend(), name);
    });
    return Failure(Failure::Code::Par2MadeUnasked, folder.filePath(*extra));
}

} // namespace

RecoveryWriter::RecoveryWriter(const OutputFolder &folder, const OutputNames &names, qint64 pieces,
                               const RecoveryLayout &layout)
    : m_folder(folder)
    , m_names(names)
    , m_pieces(pieces)
    , m_layout(layout) {}

RecoveryWriter::~RecoveryWriter() {
    for (const auto &[name, identity] : std::as_const(m_placed)) {
        try {
            m_folder.removeIfStill(name, identity);
        } catch (const Failure &) { // what cannot be removed stays; the failure told is another
        }
    }
}

QStringList RecoveryWriter::arguments(const QByteArray &privateFolder) const {
    // The pieces by their bare names, from the output folder as par2's working folder, so that
    // the recovery files name them so too; "--" before names, which may start with a dash.
    QStringList arguments{QStringLiteral("create"),
                          QStringLiteral("-s%1").arg(m_layout.blockBytes),
                          QStringLiteral("-c%1").arg(m_layout.volumes),
                          QStringLiteral("-u"),
                          QStringLiteral("-n%1").arg(m_layout.volumes),
                          QStringLiteral("-B./"),
                          QStringLiteral("--"),
                          fromFileSystemName(privateFolder) + u'/' + m_names.recoveryIndex()};
    for (qint64 piece = 1; piece <= m_pieces; ++piece)
        arguments << m_names.piece(piece);
    return arguments;
}

QList<ChecksumList::Listed> RecoveryWriter::write(const std::function<void(double)> &progress,
                                                  const std::function<bool()> &keepGoing,
                                                  bool flushEach) {
    const PrivateFolder made(m_folder);
    const Par2Program::Outcome outcome =
        Par2Program::run(arguments(made.name()), m_folder.pathForChild(),
                         m_folder.filePath(fileSystemName(m_names.recoveryIndex())),
                         Par2Progress(Par2Progress::Work::Create, m_pieces, progress), keepGoing);
    const QList<QString> expected = m_layout.names(m_names);
    QList<QByteArray> found = made.entriesMade();
    std::sort(found.begin(), found.end());
    QList<QByteArray> wanted;
    for (const QString &name : expected)
        wanted << fileSystemName(name);
    std::sort(wanted.begin(), wanted.end());
    if (outcome.exitCode != 0)
        throw Failure(Failure::Code::Par2CouldNotMake,
                      m_folder.filePath(fileSystemName(expected.first())),
                      {FailureArg::text(outcome.lastLine())});
    if (found != wanted)
        throw unexpectedFiles(m_folder, wanted, found);
    QList<ChecksumList::Listed> listed;
    for (const QString &name : expected) {
        const QByteArray onDisk = fileSystemName(name);
        const QByteArray digest = sha256Of(made.folder(), onDisk, keepGoing);
        if (flushEach)
            made.folder().openForReading(onDisk).flushToDisk();
        // Known before the move, which keeps it: a failure after the move still finds it.
        m_placed.append({onDisk, made.folder().facts(onDisk).identity});
        made.folder().moveTo(m_folder, onDisk, onDisk, OutputFolder::Replacing::Never);
        listed.append({name, digest});
    }
    return listed;
}
