#include "FileDialog.h"

#include "Accessibility.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>

#include <utility>

namespace {

FileChooser &fileChooser() {
    static FileChooser chooser;
    return chooser;
}

} // namespace

std::unique_ptr<QFileDialog> fileToOpenDialog(QWidget *parent, const QString &caption,
                                              const QStringList &filters,
                                              const QString &startFolder) {
    auto dialog = std::make_unique<QFileDialog>(parent, caption, startFolder,
                                                filters.join(QStringLiteral(";;")));
    dialog->setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog (where the platform has none) leaves its drop-down lists without their
    // captions, which are all that names them to a screen reader.
    for (const auto &[captionName, listName] : {std::pair{u"lookInLabel", u"lookInCombo"},
                                                std::pair{u"fileTypeLabel", u"fileTypeCombo"}}) {
        auto *label = dialog->findChild<QLabel *>(QString::fromUtf16(captionName));
        auto *list = dialog->findChild<QComboBox *>(QString::fromUtf16(listName));
        if (label && list)
            nameByCaption(list, label);
    }
    return dialog;
}

QString chooseFileToOpen(QWidget *parent, const QString &caption, const QStringList &filters,
                         const QString &startFolder) {
    if (fileChooser())
        return fileChooser()(caption, filters, startFolder);
    const std::unique_ptr<QFileDialog> dialog =
        fileToOpenDialog(parent, caption, filters, startFolder);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return QDir::toNativeSeparators(dialog->selectedFiles().value(0));
}

FileChooser setFileChooser(FileChooser chooser) {
    return std::exchange(fileChooser(), std::move(chooser));
}
