#include "PrivateFolder.h"

#include "Failure.h"
#include "Leftovers.h"

PrivateFolder::PrivateFolder(const OutputFolder &parent)
    : m_parent(parent)
    , m_name(freshHiddenName()) {
    try {
        m_folder = parent.makeFolder(m_name);
    } catch (const Failure &failure) {
        throw parent.ownFileFailure(failure);
    }
    // What tells the sweep this folder is ours, not one of the user's named alike. Without it
    // (a full disk) the folder goes at once: no sweep would ever take it.
    try {
        m_folder->createNew(kPrivateFolderMark.constData());
    } catch (...) {
        const Failure failure = Failure::current();
        m_folder.reset();
        try {
            m_parent.removeFolder(m_name);
        } catch (const Failure &) { // the first failure is the one to tell
        }
        throw parent.ownFileFailure(failure);
    }
}

QList<QByteArray> PrivateFolder::entriesMade() const {
    QList<QByteArray> entries = m_folder->entryNames();
    entries.removeOne(kPrivateFolderMark);
    return entries;
}

PrivateFolder::~PrivateFolder() {
    if (m_kept)
        return;
    // Whole, whatever the program that worked in it made there.
    try {
        m_folder.reset();
        m_parent.removeTree(m_name);
    } catch (const Failure &) { // what cannot be removed stays, for the next sweep
    }
}
