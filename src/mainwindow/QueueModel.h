#pragma once

#include "split/SplitRequest.h"

#include <QAbstractListModel>
#include <QList>

// The files to split, in the order they were queued, one entry each: the full path is what the
// queue shows and tells a screen reader; the bare name is the entry's NameRole. The same file may
// be queued twice.
class QueueModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { NameRole = Qt::UserRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QList<QueuedFile> &files() const { return m_files; }
    void append(const QueuedFile &file);
    // Removes the rows given, in any order, each once.
    void remove(QList<int> rows);

private:
    QList<QueuedFile> m_files;
};
