#include "FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString nativeFolderPath(const QString &path) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

QString existingFolder(const QString &path) {
    QString folder = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QDir::toNativeSeparators(folder);
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(kPathRole).toString()); });
    setPath(QDir::currentPath());
}

void FolderList::setPath(const QString &path) {
    m_path = existingFolder(path);

    QStringList chain;
    QDir dir(m_path);
    do {
        chain.prepend(nativeFolderPath(dir.absolutePath()));
    } while (dir.cdUp());

    clear();
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString &folder = chain[depth];
        addFolder(folder, depth == 0 ? folder : QFileInfo(folder).fileName(), depth, true);
    }
    setCurrentRow(count() - 1);
    const QFileInfoList subfolders = QDir(m_path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                                QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &subfolder : subfolders)
        addFolder(nativeFolderPath(subfolder.absoluteFilePath()), subfolder.fileName(),
                  int(chain.size()), false);

    Q_EMIT pathChanged();
}

void FolderList::addFolder(const QString &path, const QString &text, int depth, bool open) {
    auto *item = new QListWidgetItem(QString(depth * 3, u' ') + text, this);
    item->setData(kPathRole, path);
    item->setIcon(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}
