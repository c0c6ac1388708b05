#pragma once

#include "split/SplitRequest.h"

#include <QAbstractTableModel>
#include <QList>

// The files to split, in the order they were queued, one row each: the full path in the first
// column, which the queue shows, and the bare name in the second. The same file may be queued
// twice.
class QueueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PathColumn, NameColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QList<QueuedFile> &files() const { return m_files; }
    void append(const QueuedFile &file);
    // Removes the rows given, in any order, each once.
    void remove(QList<int> rows);

private:
    QList<QueuedFile> m_files;
};
