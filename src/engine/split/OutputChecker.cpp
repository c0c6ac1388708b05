#include "split/OutputChecker.h"

#include "NameFolding.h"
#include "OutputFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cleanFolder(const QString &path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

OutputChecker::OutputChecker(const OutputFolder &folder, const QList<QueuedFile> &queue)
    : m_folder(folder) {
    // The same folder by its identity, or by its path where a file system gives each spelling
    // of a name an identity of its own (FAT through FUSE).
    const FileIdentity outputFolder = folder.identity();
    const QString outputPath = cleanFolder(folder.path());
    for (const QueuedFile &file : queue) {
        const QFileInfo source(QDir::fromNativeSeparators(file.path));
        const QString sourceFolder = source.absolutePath();
        if (cleanFolder(sourceFolder) == outputPath ||
            factsAtPath(sourceFolder).identity == outputFolder)
            m_queuedHere.insert(foldedName(source.fileName()), file.path);
    }
}

void OutputChecker::addSource(const QString &path, const FileIdentity &identity) {
    m_sourceByIdentity.insert(identity, path);
}

std::optional<OutputProblem> OutputChecker::problemAt(const QByteArray &name,
                                                      Replaced &replaced) const {
    using Kind = OutputProblem::Kind;
    // Before what stands there: on a volume that tells case apart, f.1 is free beside a queued
    // F.1, but not on Windows.
    const QString text = fromFileSystemName(name);
    if (const auto queued = m_queuedHere.constFind(foldedName(text)); queued != m_queuedHere.cend())
        return OutputProblem{Kind::QueuedSource,
                             QFileInfo(QDir::fromNativeSeparators(*queued)).fileName() == text
                                 ? QString()
                                 : *queued};
    const FileFacts facts = m_folder.facts(name);
    if (facts.kind == FileKind::Missing)
        return std::nullopt;
    if (facts.kind == FileKind::Regular) {
        if (const auto source = m_sourceByIdentity.constFind(facts.identity);
            source != m_sourceByIdentity.cend())
            return OutputProblem{Kind::HardLinkOf, *source};
    }
    if (facts.kind == FileKind::SymbolicLink)
        return OutputProblem{Kind::SymbolicLink, {}};
    if (facts.kind != FileKind::Regular)
        return OutputProblem{Kind::NotRegular, {}, facts.kind};
    if (facts.linkCount > 1)
        return OutputProblem{Kind::OtherNames, {}};
    if (!m_folder.canWrite(name))
        return OutputProblem{Kind::NotWritable, {}};
    replaced.bytes += facts.allocatedBytes;
    ++replaced.files;
    return std::nullopt;
}
