#include "SplitRun.h"

#include "FileChannel.h"
#include "FileError.h"
#include "Module1.h"
#include "Numeric.h"
#include "Paths.h"
#include "PieceLength.h"
#include "RestoreScript.h"
#include "SplitHost.h"

#include <algorithm>
#include <optional>

namespace {

// A piece is moved in steps of this size, so the wait window is repainted on time even while
// one large piece is written.
constexpr qint64 kTransferStep = qint64(64) << 20;

class WaitWindowShown {
public:
    explicit WaitWindowShown(SplitHost &host)
        : m_host(host) {
        m_host.showWaitWindow();
    }
    ~WaitWindowShown() { m_host.unloadWaitWindow(); }
    WaitWindowShown(const WaitWindowShown &) = delete;
    WaitWindowShown &operator=(const WaitWindowShown &) = delete;

private:
    SplitHost &m_host;
};

QString piecePathFor(const SplitState &s) {
    return s.outputDir + s.fileName + u'.' + QString::number(s.pieceNumber);
}

// The size arrives as text and is turned into a number once, for the rest of the run.
double pieceSizeInBytes(SplitState &s) {
    if (const auto *text = std::get_if<QString>(&s.pieceSize)) {
        const std::optional<double> number = toNumber(*text);
        if (!number)
            throw FileError(s.sourcePath,
                            QStringLiteral("the piece size \"%1\" is not a number").arg(*text));
        s.pieceSize = *number;
    }
    if (const auto *number = std::get_if<double>(&s.pieceSize))
        return *number;
    throw FileError(s.sourcePath, QStringLiteral("no piece size was chosen"));
}

} // namespace

SplitRun::SplitRun(SplitHost &host, std::chrono::milliseconds repaintInterval)
    : m_host(host)
    , m_repaintInterval(repaintInterval) {}

void SplitRun::SplitAllFiles() {
    SplitState &s = Module1::splitState;
    {
        const WaitWindowShown waitWindow(m_host);
        m_sinceRepaint.start();
        s.fileCount = m_host.queuedFileCount();
        for (qint64 i = 0; i < s.fileCount; ++i) {
            s.sourcePath = m_host.queuedFilePath(i);
            s.pieceByteCount = 0;
            s.pieceNumber = 1;
            s.outputDir = withTrailingSeparator(m_host.outputFolder());
            s.fileName = m_host.queuedFileName(i);
            SplitOneFile();
            WriteRestoreScript();
        }
    }
    m_host.showClosingMessage(QStringLiteral("I am done splitting all of the files"));
}

void SplitRun::SplitOneFile() {
    SplitState &s = Module1::splitState;
    // Refused before anything is written: a script could not join this file again.
    if (!RestoreScript::canHoldName(s.fileName))
        throw FileError(s.sourcePath,
                        QStringLiteral("the name holds a double quote or a control character, "
                                       "which a restore script cannot hold"));
    const qint64 fullPiece = fullPieceLength(pieceSizeInBytes(s));

    InputChannel source(s.sourcePath);
    s.piecePath = piecePathFor(s);
    s.restoreCommand = RestoreScript::firstTerm(s.fileName);
    m_commandLineBytes = RestoreScript::scriptBytes(s.restoreCommand);
    std::optional<OutputChannel> piece(std::in_place, s.piecePath);
    for (;;) {
        s.pieceByteCount = fillPiece(source, *piece, fullPiece);
        // A further piece is started only for a byte that exists: a source of whole pieces
        // gets no empty piece at its end.
        if (s.pieceByteCount < fullPiece || source.atEnd())
            break;
        piece->close();
        ++s.pieceNumber;
        StartNextPiece();
        piece.emplace(s.piecePath);
    }
    piece->close();
}

void SplitRun::StartNextPiece() {
    SplitState &s = Module1::splitState;
    s.piecePath = piecePathFor(s);
    const QString term = RestoreScript::nextTerm(s.fileName, s.pieceNumber);
    const qsizetype termBytes = RestoreScript::scriptBytes(term);
    const QString end = RestoreScript::destination(s.fileName);
    if (m_commandLineBytes + termBytes + RestoreScript::scriptBytes(end) >
        RestoreScript::kMaxLineBytes) {
        const QString next = RestoreScript::continuation(s.fileName);
        s.restoreCommand += end + QStringLiteral("\r\n") + next;
        m_commandLineBytes = RestoreScript::scriptBytes(next);
    }
    s.restoreCommand += term;
    m_commandLineBytes += termBytes;
}

void SplitRun::WriteRestoreScript() {
    SplitState &s = Module1::splitState;
    s.restoreCommand += RestoreScript::destination(s.fileName);
    s.batchPath = s.outputDir + s.fileName + QStringLiteral(".bat");
    writeWholeFile(s.batchPath, RestoreScript::contents(s.fileName, s.restoreCommand));
}

qint64 SplitRun::fillPiece(InputChannel &source, OutputChannel &piece, qint64 length) {
    qint64 filled = 0;
    while (filled < length) {
        const qint64 step = std::min(length - filled, kTransferStep);
        const qint64 moved = transferBytes(source, piece, step);
        filled += moved;
        keepWaitWindowPainted();
        if (moved < step)
            break;
    }
    return filled;
}

void SplitRun::keepWaitWindowPainted() {
    if (m_sinceRepaint.elapsed() >= m_repaintInterval.count()) {
        m_host.keepWaitWindowPainted();
        m_sinceRepaint.restart();
    }
}
