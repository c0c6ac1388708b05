#include "FileArguments.h"

#include "FileDrop.h"

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
         {missing, QStringLiteral("1 name"), QStringLiteral("%1 names"),
          QStringLiteral(" of nothing that is there")},
         {others, QStringLiteral("1 item that is not a file (a device or a named pipe)"),
          QStringLiteral("%1 items that are not files (devices or named pipes)"), QString()}},
        files.size(), QStringLiteral("files given"));
}
