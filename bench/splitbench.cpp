// Runs the split engine without windows, for timing against other tools:
//   splitbench --size TEXT --out DIR FILE...
// Exit 0 on success; on a file error prints the path and the reason to stderr and exits 1.

#include "FileError.h"
#include "Module1.h"
#include "SplitHost.h"
#include "SplitRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

class CommandLineQueue : public SplitHost {
public:
    CommandLineQueue(QStringList files, QString outputFolder)
        : m_files(std::move(files))
        , m_outputFolder(std::move(outputFolder)) {}

    qint64 queuedFileCount() override { return m_files.size(); }
    QString queuedFilePath(qint64 index) override { return m_files.at(index); }
    QString queuedFileName(qint64 index) override {
        return QFileInfo(m_files.at(index)).fileName();
    }
    QString outputFolder() override { return m_outputFolder; }
    void showWaitWindow() override {}
    void keepWaitWindowPainted() override {}
    void unloadWaitWindow() override {}
    void showClosingMessage(const QString &) override {}

private:
    QStringList m_files;
    QString m_outputFolder;
};

int usage() {
    std::fputs("usage: splitbench --size TEXT --out DIR FILE...\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString size;
    QString out;
    while (args.size() >= 2 && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        if (option == QStringLiteral("--size"))
            size = value;
        else if (option == QStringLiteral("--out"))
            out = value;
        else
            return usage();
    }
    if (size.isEmpty() || out.isEmpty() || args.isEmpty())
        return usage();

    CommandLineQueue queue(args, QDir::toNativeSeparators(out));
    Module1::splitState.pieceSize = size;
    try {
        SplitRun(queue).SplitAllFiles();
    } catch (const FileError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
