#pragma once

#include "SplitHost.h"
#include "SplitRun.h"
#include "WaitWindowSlot.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// A queue and output folder for the engine, recording every call it receives in order.
// With a wait window slot it also drives the real wait window.
class RecordingHost : public SplitHost, private WaitWindowHost {
public:
    struct Entry {
        QString path;
        QString name;
    };

    QList<Entry> queue;
    QString folder;
    WaitWindowSlot *waitWindowSlot = nullptr;
    std::function<void()> onRepaint;      // runs inside keepWaitWindowPainted
    std::function<void()> onOutputFolder; // runs inside outputFolder, i.e. while the run works

    QStringList calls; // e.g. "path 0", "folder", "show wait", "message I am done..."
    int repaints = 0;

    // Queues a file by its full path, with its bare name.
    void add(const QString &path);

    qint64 queuedFileCount() override;
    QString queuedFilePath(qint64 index) override;
    QString queuedFileName(qint64 index) override;
    QString outputFolder() override;
    WaitWindowHost &waitWindow() override { return *this; }
    void showClosingMessage(const QString &text) override;

private:
    void showWaitWindow() override;
    void keepWaitWindowPainted() override;
    void unloadWaitWindow() override;
};

// Splits the file at source into the folder out with the engine, at the piece size given.
void splitOneFile(const QString &source, const QString &out, const QString &size,
                  const SplitOptions &options = {});
