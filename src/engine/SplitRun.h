#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <chrono>

class InputChannel;
class OutputChannel;
class SplitHost;

// Cuts every queued file into numbered pieces in the output folder, each with a restore
// script beside them. Works on Module1::splitState; asks the host for the queue, the output
// folder, the wait window and the closing message.
class SplitRun {
public:
    // The host is asked to repaint the wait window once per repaintInterval of work.
    explicit SplitRun(SplitHost &host,
                      std::chrono::milliseconds repaintInterval = std::chrono::milliseconds(100));

    // Splits the queue in order, then shows the closing message. On the first failure it
    // takes the wait window down and throws FileError: earlier files stay complete, the
    // failing one keeps what was written, later ones are not touched, every file is closed.
    void SplitAllFiles();

private:
    void SplitOneFile();
    void StartNextPiece();
    void WriteRestoreScript();

    qint64 fillPiece(InputChannel &source, OutputChannel &piece, qint64 length);
    void keepWaitWindowPainted();

    SplitHost &m_host;
    const std::chrono::milliseconds m_repaintInterval;
    QElapsedTimer m_sinceRepaint;
    qsizetype m_commandLineBytes = 0; // bytes of the copy line being built
};
