// Runs a join without windows, for timing against other tools:
//   joinbench [--yes] FILE        (FILE: a restore script, or the first piece name.1)
// Every question (replace the file, go on past a piece of odd length) is answered No unless
// --yes is given. Exit 0 on success; on a refusal or a failure prints the path and the reason to
// stderr and exits 1.

#include "FileError.h"
#include "JoinHost.h"
#include "JoinRun.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

class CommandLineAnswers : public JoinHost {
public:
    explicit CommandLineAnswers(bool yes)
        : m_yes(yes) {}

    bool askYesNo(const QString &) override { return m_yes; }
    WaitWindowHost &waitWindow() override { return m_noWaitWindow; }
    void showRestoredMessage(const QString &) override {}

private:
    bool m_yes;
    NoWaitWindow m_noWaitWindow;
};

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool yes = !args.isEmpty() && args.first() == QStringLiteral("--yes");
    if (yes)
        args.removeFirst();
    if (args.size() != 1) {
        std::fputs("usage: joinbench [--yes] FILE\n", stderr);
        return 2;
    }
    CommandLineAnswers answers(yes);
    try {
        JoinRun(answers).join(args.first());
    } catch (const FileError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
