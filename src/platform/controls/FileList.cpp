#include "FileList.h"

#include <QDir>
#include <QScrollBar>

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
    , m_watcher(new FolderWatcher(this)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_watcher, &FolderWatcher::changed, this, &FileList::refresh);
}

void FileList::setPath(const QString &folder) {
    m_path = folder;
    m_watcher->watch(folder);
    load();
}

void FileList::refresh() {
    const QString selected = selectedFileName();
    const int scrolled = verticalScrollBar()->value();
    load();
    verticalScrollBar()->setValue(scrolled);
    if (const QList<QListWidgetItem *> same = findItems(selected, Qt::MatchExactly);
        !selected.isEmpty() && !same.isEmpty())
        setCurrentItem(same.first());
}

void FileList::load() {
    clear();
    addItems(QDir(m_path).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString FileList::selectedFileName() const {
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
