#include "QueueNames.h"

#include "QueueModel.h"

QVariant QueueNames::data(const QModelIndex &index, int role) const {
    return QIdentityProxyModel::data(index,
                                     role == Qt::DisplayRole ? int(QueueModel::NameRole) : role);
}
