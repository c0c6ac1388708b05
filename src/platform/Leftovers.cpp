#include "Leftovers.h"

#include "Failure.h"
#include "FileHandle.h"
#include "OutputFolder.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <memory>

namespace {

const QByteArray kHiddenPrefix = ".tessary-";
const QByteArray kHiddenSuffix = ".tmp";
const QByteArray kKeptAsidePrefix = "kept-aside-";
constexpr qsizetype kMarkDigits = 13; // base 36: any 64-bit number

// Whether name is one freshHiddenName() gives, and no other: a file of the user's own is
// never taken for a leftover.
bool isHiddenName(const QByteArray &name) {
    if (name.size() != kHiddenPrefix.size() + kMarkDigits + kHiddenSuffix.size() ||
        !name.startsWith(kHiddenPrefix) || !name.endsWith(kHiddenSuffix))
        return false;
    const QByteArray mark = name.mid(kHiddenPrefix.size(), kMarkDigits);
    return std::all_of(mark.cbegin(), mark.cend(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

qint64 youngestLeftover() {
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000 -
           std::chrono::duration_cast<std::chrono::nanoseconds>(kLeftoverAge).count();
}

bool isOldLoneFile(const FileFacts &facts) {
    return facts.kind == FileKind::Regular && facts.linkCount == 1 &&
           facts.modified <= youngestLeftover();
}

void removeFileLeftover(const OutputFolder &folder, const QByteArray &name) {
    try {
        // Open for writing: an exclusive lock on NFS needs it.
        const FileHandle leftover = folder.openForWriting(name);
        if (leftover.tryLockExclusively())
            folder.remove(name);
    } catch (const Failure &) { // not a file of ours, or gone already
    }
}

// What a run that was killed may leave in its private folder: a file made there, or a link
// made there to a file beside it (a piece to be rebuilt is linked under a kept-aside name);
// never a file of the user's kept aside.
bool isOldPrivateEntry(const OutputFolder &folder, const QByteArray &name) {
    const FileFacts facts = folder.facts(name);
    if (facts.kind == FileKind::SymbolicLink)
        return facts.modified <= youngestLeftover();
    return !name.startsWith(kKeptAsidePrefix) && isOldLoneFile(facts);
}

void removeFolderLeftover(const OutputFolder &parent, const QByteArray &name) {
    try {
        const std::unique_ptr<OutputFolder> folder = parent.openFolder(name);
        const QList<QByteArray> entries = folder->entryNames();
        if (!entries.contains(kPrivateFolderMark) ||
            !std::all_of(entries.cbegin(), entries.cend(), [&](const QByteArray &entry) {
                return isOldPrivateEntry(*folder, entry);
            }))
            return;
        for (const QByteArray &entry : entries)
            folder->remove(entry);
        parent.removeFolder(name);
    } catch (const Failure &) { // not a folder of ours, or gone already
    }
}

} // namespace

QByteArray freshHiddenName() {
    const QByteArray mark = QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    return kHiddenPrefix + mark.rightJustified(kMarkDigits, '0') + kHiddenSuffix;
}

QByteArray keptAsideName(qint64 number) {
    return kKeptAsidePrefix + QByteArray::number(number);
}

void removeLeftovers(const OutputFolder &folder, const QSet<FileIdentity> &keep) {
    // Only the hidden names are kept of the listing, which may name a million pieces; they are
    // removed once it is read.
    QList<QByteArray> hidden;
    folder.forEachEntryName([&hidden](const QByteArray &name) {
        if (isHiddenName(name))
            hidden.append(name);
    });
    for (const QByteArray &name : std::as_const(hidden)) {
        const FileFacts facts = folder.facts(name);
        if (keep.contains(facts.identity))
            continue;
        if (isOldLoneFile(facts))
            removeFileLeftover(folder, name);
        else if (facts.kind == FileKind::Folder && facts.modified <= youngestLeftover())
            removeFolderLeftover(folder, name);
    }
}
