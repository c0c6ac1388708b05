#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

// The platform's dialog for choosing a file to open, starting in startFolder and offering the
// filters in turn ("Restore scripts (*.bat)"). Returns the file's path in native separators,
// or an empty string when the user cancels.
QString chooseFileToOpen(QWidget *parent, const QString &caption, const QStringList &filters,
                         const QString &startFolder);
// The dialog that chooseFileToOpen runs, not yet shown.
std::unique_ptr<QFileDialog> fileToOpenDialog(QWidget *parent, const QString &caption,
                                              const QStringList &filters,
                                              const QString &startFolder);

// Replaces the dialog, so that tests can choose a file; an empty chooser restores the dialog.
// Returns the chooser that was in place.
using FileChooser = std::function<QString(const QString &caption, const QStringList &filters,
                                          const QString &startFolder)>;
FileChooser setFileChooser(FileChooser chooser);
