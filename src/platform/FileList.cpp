#include "FileList.h"

#include <QDir>

FileList::FileList(QWidget *parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setPath(const QString &folder) {
    m_path = folder;
    clear();
    addItems(QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString FileList::selectedFileName() const {
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
