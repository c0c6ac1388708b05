// Runs the split engine without windows, for timing against other tools:
//   splitbench --size TEXT --out DIR [--threads N] [--copy kernel|sendfile|buffer] FILE...
// --threads and --copy choose the number of copying threads and the first copy method, so that
// alternatives can be measured in one run. Exit 0 on success; when the split is refused or
// fails, prints why to stderr and exits 1.

#include "FileError.h"
#include "Module1.h"
#include "SplitCheck.h"
#include "SplitHost.h"
#include "SplitRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <cstdio>
#include <utility>

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
    WaitWindowHost &waitWindow() override { return m_noWaitWindow; }
    void showClosingMessage(const QString &) override {}

private:
    QStringList m_files;
    QString m_outputFolder;
    NoWaitWindow m_noWaitWindow;
};

int usage() {
    std::fputs("usage: splitbench --size TEXT --out DIR [--threads N] "
               "[--copy kernel|sendfile|buffer] FILE...\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QMap<QString, CopyMethod> methods{{QStringLiteral("kernel"), CopyMethod::Kernel},
                                            {QStringLiteral("sendfile"), CopyMethod::Sendfile},
                                            {QStringLiteral("buffer"), CopyMethod::Buffer}};
    QString size;
    QString out;
    SplitOptions options;
    while (args.size() >= 2 && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        bool ok = true;
        if (option == QStringLiteral("--size"))
            size = value;
        else if (option == QStringLiteral("--out"))
            out = value;
        else if (option == QStringLiteral("--threads"))
            options.workers = value.toInt(&ok);
        else if (option == QStringLiteral("--copy") && methods.contains(value))
            options.copyMethod = methods.value(value);
        else
            return usage();
        if (!ok || options.workers < 1)
            return usage();
    }
    if (size.isEmpty() || out.isEmpty() || args.isEmpty())
        return usage();

    CommandLineQueue queue(args, QDir::toNativeSeparators(out));
    Module1::splitState.pieceSize = size;
    try {
        SplitRun(queue, options).SplitAllFiles();
    } catch (const SplitRefused &refused) {
        std::fprintf(stderr, "%s\n", refused.what());
        return 1;
    } catch (const FileError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
