#include "SplitRun.h"

#include "FileError.h"
#include "Module1.h"
#include "Numeric.h"
#include "OutputFolder.h"
#include "Paths.h"
#include "PieceCutter.h"
#include "PieceLength.h"
#include "PieceNames.h"
#include "RestoreScript.h"
#include "SourceFile.h"
#include "SplitCheck.h"
#include "SplitHost.h"

#include <QScopeGuard>

namespace {

QString piecePathFor(const SplitState &s) {
    return s.outputDir + s.fileName + u'.' + QString::number(s.pieceNumber);
}

// The piece size as a number of bytes, whether it still is the text the window handed over or
// has already been turned.
double pieceSizeInBytes(const SplitState &s) {
    if (const auto *text = std::get_if<QString>(&s.pieceSize)) {
        if (const std::optional<double> number = toNumber(*text))
            return *number;
        throw FileError(s.sourcePath,
                        QStringLiteral("the piece size \"%1\" is not a number").arg(*text));
    }
    if (const auto *number = std::get_if<double>(&s.pieceSize))
        return *number;
    throw FileError(s.sourcePath, QStringLiteral("no piece size was chosen"));
}

} // namespace

SplitRun::SplitRun(SplitHost &host, SplitOptions options)
    : m_host(host)
    , m_options(options) {}

SplitRun::~SplitRun() = default;

void SplitRun::SplitAllFiles() {
    SplitState &s = Module1::splitState;
    const auto endOfRun = qScopeGuard([this] {
        m_pool.reset();
        m_folder.reset();
        m_check.reset();
    });
    checkWholeRun();
    m_folder = std::make_unique<OutputFolder>(m_check->outputFolder());
    m_pool = std::make_unique<WorkerPool>(m_options.workers);
    {
        const WaitWindowShown waitWindow(m_host.waitWindow());
        m_sinceRepaint.start();
        s.fileCount = m_host.queuedFileCount();
        for (qint64 i = 0; i < s.fileCount; ++i) {
            s.sourcePath = m_host.queuedFilePath(i);
            s.pieceByteCount = 0;
            s.pieceNumber = 1;
            s.outputDir = withTrailingSeparator(m_host.outputFolder());
            // Only the folder that was checked is written to.
            if (s.outputDir != m_folder->path())
                throw FileError(s.outputDir,
                                QStringLiteral("the output folder changed while the split ran"));
            s.fileName = m_host.queuedFileName(i);
            SplitOneFile();
            WriteRestoreScript();
            keepWaitWindowPainted(); // a run of many small files is work too
        }
    }
    m_host.showClosingMessage(QStringLiteral("I am done splitting all of the files"));
}

void SplitRun::checkWholeRun() {
    QList<QueuedFile> queue;
    const qint64 count = m_host.queuedFileCount();
    for (qint64 i = 0; i < count; ++i)
        queue.append({m_host.queuedFilePath(i), m_host.queuedFileName(i)});
    m_check = std::make_unique<SplitCheck>(queue, m_host.outputFolder(),
                                           fullPieceLength(pieceSizeInBytes(Module1::splitState)));
    if (!m_check->refusals().isEmpty())
        throw SplitRefused(m_check->refusals());
}

void SplitRun::SplitOneFile() {
    SplitState &s = Module1::splitState;
    s.pieceSize = pieceSizeInBytes(s);
    const qint64 fullPiece = fullPieceLength(std::get<double>(s.pieceSize));

    const SourceFile source(s.sourcePath);
    // A script left by an earlier split must not outlive a failure of this one beside a mix of
    // old and new pieces.
    m_folder->remove(scriptName(s.fileName));
    s.piecePath = piecePathFor(s);
    s.restoreCommand = RestoreScript::firstTerm(s.fileName);
    m_commandLineBytes = RestoreScript::scriptBytes(s.restoreCommand);

    const CutPlan plan{
        source,
        *m_folder,
        pieceNamePrefix(s.fileName),
        fullPiece,
        pieceCountFor(source.facts().size, fullPiece),
        m_check->checkedPieces(s.fileName),
        [this](const QByteArray &name) { m_check->checkLatePiece(*m_folder, name); }};
    const CutResult cut =
        PieceCutter(*m_pool, m_options.copyMethod)
            .cut(
                plan, [this] { keepWaitWindowPainted(); }, m_options.repaintInterval);
    while (s.pieceNumber < cut.pieces) {
        ++s.pieceNumber;
        StartNextPiece();
    }
    s.pieceByteCount = cut.lastPieceBytes;
}

void SplitRun::StartNextPiece() {
    SplitState &s = Module1::splitState;
    s.piecePath = piecePathFor(s);
    RestoreScript::appendPiece(s.restoreCommand, m_commandLineBytes, s.fileName, s.pieceNumber);
}

void SplitRun::WriteRestoreScript() {
    SplitState &s = Module1::splitState;
    s.restoreCommand += RestoreScript::destination(s.fileName);
    s.batchPath = s.outputDir + s.fileName + QStringLiteral(".bat");
    m_folder->writeWholeFile(scriptName(s.fileName),
                             RestoreScript::contents(s.fileName, s.restoreCommand));
}

void SplitRun::keepWaitWindowPainted() {
    if (m_sinceRepaint.elapsed() >= m_options.repaintInterval.count()) {
        m_host.waitWindow().keepWaitWindowPainted();
        m_sinceRepaint.restart();
    }
}
