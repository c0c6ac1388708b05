#pragma once

#include <QIdentityProxyModel>

// The queue as its bare names, one entry per queued file, for the hidden list that holds them.
class QueueNames : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
