#include "FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// Draws each folder indented by its depth, so that the text stays the bare name and keyboard
// search finds folders by name.
class IndentingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(indent(option, index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem &option, const QModelIndex &index) {
        return index.data(kDepthRole).toInt() * option.fontMetrics.averageCharWidth() * 2;
    }
};

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
    return nativeFolderPath(folder);
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
    , m_watcher(new FolderWatcher(this)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_watcher, &FolderWatcher::changed, this, &FolderList::refresh);
    setItemDelegate(new IndentingDelegate(this));
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(kPathRole).toString()); });
    setPath(QDir::currentPath());
}

void FolderList::setPath(const QString &path) {
    load(path);
    Q_EMIT pathChanged();
}

void FolderList::refresh() {
    const QString shownBefore = m_path;
    const QString highlighted =
        currentItem() ? currentItem()->data(kPathRole).toString() : QString();
    const int scrolled = verticalScrollBar()->value();
    load(m_path);
    verticalScrollBar()->setValue(scrolled);
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(kPathRole).toString() == highlighted)
            setCurrentRow(row);
    }
    if (m_path != shownBefore)
        Q_EMIT pathChanged();
}

void FolderList::load(const QString &path) {
    m_path = existingFolder(path);
    m_watcher->watch(m_path);

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
}

void FolderList::addFolder(const QString &path, const QString &text, int depth, bool open) {
    auto *item = new QListWidgetItem(text, this);
    item->setData(kPathRole, path);
    item->setData(kDepthRole, depth);
    item->setIcon(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}
