#include "FileArguments.h"
#include "MainWindowText.h"

#include "FileDrop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

FileArguments::FileArguments(const QStringList &paths) {
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            ++folders;
        else if (!info.exists())
            ++missing;
        else if (!info.isFile())
            ++others;
        else
            files << QDir::toNativeSeparators(info.absoluteFilePath());
    }
}

QString FileArguments::leftOutMessage() const {
    return ::leftOutMessage(
        {leftOutFolders(folders),
         {missing, MainWindowText::tr("1 name"), MainWindowText::tr("%1 names"),
          MainWindowText::tr(" of nothing that is there")},
         {others, MainWindowText::tr("1 item that is not a file (a device or a named pipe)"),
          MainWindowText::tr("%1 items that are not files (devices or named pipes)"), QString()}},
        files.size(), MainWindowText::tr("files given"));
}
