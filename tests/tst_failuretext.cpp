#include "Failure.h"
#include "FileFacts.h"
#include "Translations.h"
#include "words/FailureText.h"

#include <QTest>

#include <cerrno>

// The words of failures, as the user reads them: every other test holds a failure to its code.
class FailureTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installTranslations(); } // English's plural forms
    void reasonsReadAsWritten_data();
    void reasonsReadAsWritten();
};

void FailureTextTest::reasonsReadAsWritten_data() {
    using Code = Failure::Code;
    using A = FailureArg;
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("line"); // as failureLine() gives it
    QTest::addRow("the system's own words")
        << Failure::fromSystemError(QStringLiteral("/out/x.1"), ENOSPC)
        << QStringLiteral("/out/x.1: No space left on device");
    QTest::addRow("no path") << Failure(Code::NoMemory)
                             << QStringLiteral("there is not enough memory");
    QTest::addRow("a count in the user's locale")
        << Failure(Code::SplitNeedsFiles, QStringLiteral("/stick"), {A::count(1200), A::count(7)})
        << QStringLiteral("/stick: the split needs 1,200 new files there, but only 7 more can be "
                          "made");
    QTest::addRow("one byte") << Failure(Code::LongerThanExpected, QStringLiteral("/a"),
                                         {A::count(1)})
                              << QStringLiteral("/a: it holds more than the 1 byte expected");
    QTest::addRow("byte counts")
        << Failure(Code::JoinNeedsSpace, QStringLiteral("/out"), {A::bytes(300'000), A::bytes(2)})
        << QStringLiteral("/out: the joined file needs 300.0 kB of free space there, but only 2 "
                          "bytes is free");
    QTest::addRow("a limit told precisely")
        << Failure(Code::PieceTooLargeForVolume, QStringLiteral("/fat"),
                   {A::preciseBytes(4'294'967'295), A::preciseBytes(4'999'999'999)})
        << QStringLiteral("/fat: its file system holds files of at most 4.29 GB, smaller than "
                          "the 5 GB pieces");
    QTest::addRow("what stands there")
        << Failure(Code::NotRegularFileKind, QStringLiteral("/in/pipe"),
                   {A::fileKind(int(FileKind::Fifo))})
        << QStringLiteral("/in/pipe: it is a FIFO (named pipe), not a regular file");
    QTest::addRow("an output, by its role and path")
        << Failure(Code::OutputSymbolicLink, QStringLiteral("/in/x"),
                   {A::text(QStringLiteral("piece")), A::path(QStringLiteral("/out/x.1"))})
        << QStringLiteral("/in/x: its piece /out/x.1 is a symbolic link, which Tessary never "
                          "writes through");
    QTest::addRow("a script's line, quoted and shown printably")
        << Failure(Code::ScriptLineNotCopy, QStringLiteral("/out/x.bat"),
                   {A::count(2), A::line(QStringLiteral("del *.*\x1b[2J"))})
        << QStringLiteral("/out/x.bat: line 2 is not a command that Tessary writes, so nothing "
                          "of the script was run: del *.*U+001B[2J");
    QTest::addRow("a long line cut")
        << Failure(Code::ListLineNotDigest, QStringLiteral("/out/x.sha256"),
                   {A::count(1), A::line(QString(200, u'z'))})
        << QStringLiteral("/out/x.sha256: line 1 is not a SHA-256 digest and a name, so the pieces "
                          "were not checked against it: ") +
               QString(117, u'z') + QStringLiteral("...");
    QTest::addRow("a reason made of another")
        << Failure::because(
               Code::ScriptMakesUnsplittable, QStringLiteral("/out/x.bat"),
               {A::count(1), A::line(QStringLiteral("copy")), A::name(QStringLiteral("con"))},
               Failure(Code::NameIsDevice, {}, {A::text(QStringLiteral("con"))}))
        << QStringLiteral("/out/x.bat: line 1 makes con, a file that Tessary does not split "
                          "(\"con\" is a device name on Windows, so its pieces and restore script "
                          "could not be used there), so nothing of the script was run: copy");
    QTest::addRow("par2 said nothing")
        << Failure(Code::Par2CouldNotMake, QStringLiteral("/out/x.par2"), {A::text({})})
        << QStringLiteral("/out/x.par2: the par2 program could not make the recovery files: it "
                          "gave no reason");
    QTest::addRow("more pieces than can be rebuilt, named")
        << Failure(Code::CannotRebuild, {},
                   {A::count(2), A::count(10), A::count(1), A::name(QStringLiteral("x.2, x.5"))})
        << QStringLiteral("2 of the 10 pieces are damaged or missing, more than the recovery "
                          "files can rebuild: 1 more piece would be needed. Damaged or missing: "
                          "x.2, x.5.");
    QTest::addRow("a name with a control character")
        << Failure(Code::NameHoldsControl, QStringLiteral("/in/a\tb"),
                   {A::text(QStringLiteral("\t"))})
        << QStringLiteral("/in/aU+0009b: its name holds a control character (U+0009), which no "
                          "restore script can hold");
}

void FailureTextTest::reasonsReadAsWritten() {
    QFETCH(Failure, failure);
    QFETCH(QString, line);
    QCOMPARE(failureLine(failure), line);
}

QTEST_GUILESS_MAIN(FailureTextTest)
#include "tst_failuretext.moc"
