#include "QueueModel.h"

#include <algorithm>
#include <functional>

int QueueModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_files.size());
}

QVariant QueueModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QueuedFile &file = m_files[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return file.path;
    case NameRole:
        return file.name;
    default:
        return {};
    }
}

void QueueModel::append(const QueuedFile &file) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_files.append(file);
    endInsertRows();
}

void QueueModel::remove(QList<int> rows) {
    // From the last: each removal leaves the rows before it where they were.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) {
        beginRemoveRows({}, row, row);
        m_files.removeAt(row);
        endRemoveRows();
    }
}
