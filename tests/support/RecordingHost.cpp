#include "RecordingHost.h"

#include "Module1.h"

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
    if (waitWindowSlot)
        waitWindowSlot->showWaitWindow();
}

void RecordingHost::keepWaitWindowPainted() {
    ++repaints;
    if (waitWindowSlot)
        waitWindowSlot->keepWaitWindowPainted();
    if (onRepaint)
        onRepaint();
}

void RecordingHost::unloadWaitWindow() {
    calls << QStringLiteral("unload wait");
    if (waitWindowSlot)
        waitWindowSlot->unloadWaitWindow();
}

void RecordingHost::showClosingMessage(const QString &text) {
    calls << QStringLiteral("message ") + text;
}

void splitOneFile(const QString &source, const QString &out, const QString &size,
                  const SplitOptions &options) {
    RecordingHost host;
    host.add(source);
    host.folder = out;
    Module1::splitState.pieceSize = size;
    SplitRun(host, options).SplitAllFiles();
}
