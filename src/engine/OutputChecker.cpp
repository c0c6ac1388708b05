#include "OutputChecker.h"

#include "OutputFolder.h"

#include <QDir>

namespace {

QString cleanPath(const QString &path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

OutputChecker::OutputChecker(const OutputFolder &folder, const QList<QueuedFile> &queue)
    : m_folder(folder) {
    for (const QueuedFile &file : queue)
        m_sourceByPath.insert(cleanPath(file.path), file.path);
}

void OutputChecker::addSource(const QString &path, const FileIdentity &identity) {
    m_sourceByIdentity.insert(identity, path);
}

std::optional<OutputProblem> OutputChecker::problemAt(const QByteArray &name,
                                                      qint64 &replacedBytes) const {
    using Kind = OutputProblem::Kind;
    const FileFacts facts = m_folder.facts(name);
    if (facts.kind == FileKind::Missing)
        return std::nullopt;
    if (m_sourceByPath.contains(cleanPath(m_folder.filePath(name))))
        return OutputProblem{Kind::QueuedSource, {}};
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
    replacedBytes += facts.allocatedBytes;
    return std::nullopt;
}
