#include "FileDialog.h"

#include <QDir>
#include <QFileDialog>

#include <utility>

namespace {

FileChooser &fileChooser() {
    static FileChooser chooser;
    return chooser;
}

} // namespace

QString chooseFileToOpen(QWidget *parent, const QString &caption, const QStringList &filters,
                         const QString &startFolder) {
    if (fileChooser())
        return fileChooser()(caption, filters, startFolder);
    return QDir::toNativeSeparators(QFileDialog::getOpenFileName(
        parent, caption, startFolder, filters.join(QStringLiteral(";;"))));
}

FileChooser setFileChooser(FileChooser chooser) {
    return std::exchange(fileChooser(), std::move(chooser));
}
