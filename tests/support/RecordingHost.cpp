#include "RecordingHost.h"

#include <QDir>
#include <QFileInfo>

void RecordingHost::add(const QString &path) {
    queue.append({QDir::toNativeSeparators(path), QFileInfo(path).fileName()});
}

qint64 RecordingHost::queuedFileCount() {
    calls << QStringLiteral("count");
    return queue.size();
}

QString RecordingHost::queuedFilePath(qint64 index) {
    calls << QStringLiteral("path %1").arg(index);
    return queue.at(index).path;
}

QString RecordingHost::queuedFileName(qint64 index) {
    calls << QStringLiteral("name %1").arg(index);
    return queue.at(index).name;
}

QString RecordingHost::outputFolder() {
    calls << QStringLiteral("folder");
    if (onOutputFolder)
        onOutputFolder();
    return QDir::toNativeSeparators(folder);
}

void RecordingHost::showWaitWindow() {
    calls << QStringLiteral("show wait");
    if (waitWindow)
        waitWindow->show();
}

void RecordingHost::keepWaitWindowPainted() {
    ++repaints;
    if (waitWindow)
        waitWindow->keepPainted();
    if (onRepaint)
        onRepaint();
}

void RecordingHost::unloadWaitWindow() {
    calls << QStringLiteral("unload wait");
    if (waitWindow)
        waitWindow->unload();
}

void RecordingHost::showClosingMessage(const QString &text) {
    calls << QStringLiteral("message ") + text;
}
