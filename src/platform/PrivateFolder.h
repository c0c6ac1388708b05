#pragma once

#include "OutputFolder.h"

#include <QByteArray>
#include <QList>

#include <memory>

// A folder of this run's own inside an output folder, where another program writes files before
// Tessary puts them in place: hidden, under a name the leftover sweep knows, that only this
// user may enter; gone with whatever is left in it, folders too, when the object goes, unless
// kept.
class PrivateFolder {
public:
    explicit PrivateFolder(const OutputFolder &parent);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    const OutputFolder &folder() const { return *m_folder; }
    // What was made in it: every entry but its mark.
    QList<QByteArray> entriesMade() const;
    // Leaves the folder and all in it where it is: it holds a file of the user's that could
    // not be put back.
    void keep() { m_kept = true; }
    // Its name in the output folder.
    const QByteArray &name() const { return m_name; }

private:
    const OutputFolder &m_parent;
    QByteArray m_name;
    std::unique_ptr<OutputFolder> m_folder;
    bool m_kept = false;
};
