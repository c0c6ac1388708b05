#include "join/JoinRecipe.h"
#include "join/JoinText.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "names/OutputNames.h"
#include "names/PortableName.h"
#include "names/PosixRestoreScript.h"
#include "names/RestoreScript.h"
#include "text/MessageText.h"
#include "text/RefusalText.h"
#include "text/TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>
#include <optional>
#include <utility>

namespace {

// Far beyond the script of any split (a million pieces take some 30 MB).
constexpr qint64 kLargestScript = qint64(64) << 20;

struct ScriptLine {
    int number = 0;
    QString text;
};

struct CopyLine {
    QStringList sources;
    QString destination;
};

class ScriptReader {
public:
    // The script's bytes, and the path they were read from.
    ScriptReader(QString path, QByteArray bytes)
        : m_path(std::move(path))
        , m_bytes(std::move(bytes)) {}

    JoinRecipe read();

private:
    QList<ScriptLine> lines();
    QString decode(const QByteArray &line, bool utf8, int number);
    static std::optional<CopyLine> parseCopyLine(QStringView line);
    static std::optional<QString> unquote(QStringView text);
    [[noreturn]] void refuse(const ScriptLine &line, const QString &why) const;

    QString m_path;
    QByteArray m_bytes;
};

QByteArray readScript(const SourceFile &file) {
    if (file.facts().size > kLargestScript)
        throw Failure(Failure::Kind::TooLarge, file.path(),
                      JoinText::tr("it is too large to be a restore script"));
    return file.readAll(kLargestScript);
}

// Opened as a source is: a FIFO or a device is refused rather than waited on.
ScriptReader scriptAt(const QString &path) {
    return ScriptReader(path, readScript(SourceFile(path)));
}

JoinRecipe ScriptReader::read() {
    const QList<ScriptLine> script = lines();
    if (script.size() < 2)
        throw Failure(Failure::Kind::Unusable, m_path,
                      JoinText::tr("it is not a restore script that Tessary writes: "
                                   "it has fewer than two lines"));
    const ScriptLine &echo = script.last();
    JoinRecipe recipe;
    recipe.folder = QDir::toNativeSeparators(QFileInfo(m_path).absolutePath());
    qint64 nextPiece = 1;
    for (qsizetype i = 0; i + 1 < script.size(); ++i) {
        const ScriptLine &line = script[i];
        const std::optional<CopyLine> copy = parseCopyLine(line.text);
        // A restore script ends with the line that says the file is restored: what follows
        // it is what is wrong.
        if (!copy && i > 0 && line.text == RestoreScript::echoLine(recipe.destination))
            refuse(script[i + 1], JoinText::tr("comes after the line that says %1 is restored, "
                                               "where a restore script ends")
                                      .arg(recipe.destination));
        if (!copy)
            refuse(line, JoinText::tr("is not a command that Tessary writes"));
        if (i == 0) {
            recipe.destination = copy->destination;
            if (std::optional<NameProblem> problem = portableNameProblem(recipe.destination))
                refuse(line, JoinText::tr("makes %1, a file that Tessary does not split (%2)")
                                 .arg(recipe.destination, RefusalReason::name(*problem)));
        } else if (copy->destination != recipe.destination) {
            refuse(line,
                   JoinText::tr("makes %1, not %2").arg(copy->destination, recipe.destination));
        }
        // A line after the first goes on from the file joined so far.
        if (i > 0 && copy->sources.first() != recipe.destination)
            refuse(line, JoinText::tr("does not go on from %1").arg(recipe.destination));
        const OutputNames names(recipe.destination);
        for (qsizetype s = i > 0 ? 1 : 0; s < copy->sources.size(); ++s, ++nextPiece) {
            const QString expected = names.piece(nextPiece);
            if (copy->sources[s] != expected)
                refuse(line, JoinText::tr("names %1 where the piece %2 belongs")
                                 .arg(copy->sources[s], expected));
        }
    }
    if (echo.text != RestoreScript::echoLine(recipe.destination))
        refuse(echo,
               JoinText::tr("is not the line that says %1 is restored").arg(recipe.destination));
    recipe.pieceCount = nextPiece - 1;
    recipe.script = m_path;
    return recipe;
}

QList<ScriptLine> ScriptReader::lines() {
    // The command shell reads lines ended by CR LF or by LF alone, the last one with or
    // without an end, and passes over blank lines at the end.
    const QByteArray &bytes = m_bytes;
    const QList<QByteArray> raw = textLines(bytes);
    if (raw.isEmpty())
        return {};
    // As an editor on Windows may save it: the shell would take the mark for a command.
    if (bytes.startsWith("\xef\xbb\xbf"))
        refuse({1, QString::fromUtf8(raw.first().mid(3))},
               JoinText::tr("starts with a byte order mark, which the command shell does not "
                            "read"));
    const bool utf8 = raw.first() == QByteArrayView(RestoreScript::kUtf8Line);
    QList<ScriptLine> script;
    for (qsizetype i = utf8 ? 1 : 0; i < raw.size(); ++i) {
        const QByteArray &line = raw[i];
        const int number = int(i + 1);
        if (line.size() > RestoreScript::kMaxLineBytes)
            refuse({number, QString::fromLatin1(line.left(60))},
                   JoinText::tr("is longer than the command shell reads"));
        script.append({number, decode(line, utf8, number)});
    }
    return script;
}

QString ScriptReader::decode(const QByteArray &line, bool utf8, int number) {
    if (!utf8)
        return QString::fromLatin1(line);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(line);
    if (decoder.hasError())
        refuse({number, QString::fromLatin1(line)}, JoinText::tr("is not valid UTF-8"));
    return text;
}

// copy /b "a.1" + "a.2"  "a", each name in double quotes, %% standing for %.
std::optional<CopyLine> ScriptReader::parseCopyLine(QStringView line) {
    constexpr QStringView prefix = u"copy /b ";
    if (!line.startsWith(prefix))
        return std::nullopt;
    CopyLine copy;
    QStringView rest = line.mid(prefix.size());
    bool destinationNext = false;
    for (;;) {
        if (!rest.startsWith(u'"'))
            return std::nullopt;
        const qsizetype close = rest.indexOf(u'"', 1);
        if (close < 0)
            return std::nullopt;
        const std::optional<QString> name = unquote(rest.mid(1, close - 1));
        if (!name)
            return std::nullopt;
        rest = rest.mid(close + 1);
        if (destinationNext) {
            if (!rest.isEmpty())
                return std::nullopt;
            copy.destination = *name;
            return copy;
        }
        copy.sources << *name;
        if (rest.startsWith(u" + ")) {
            rest = rest.mid(3);
        } else if (rest.startsWith(u"  ")) {
            rest = rest.mid(2);
            destinationNext = true;
        } else {
            return std::nullopt;
        }
    }
}

// A name as the shell reads it inside double quotes: %% is one %, a lone % would expand a
// variable, and a name with a folder part could reach outside the script's folder.
std::optional<QString> ScriptReader::unquote(QStringView text) {
    QString name;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            if (i + 1 >= text.size() || text[i + 1] != u'%')
                return std::nullopt;
            ++i;
        } else if (text[i] == u'\\' || text[i] == u'/' || text[i] == u':') {
            return std::nullopt;
        }
        name += text[i];
    }
    if (name.isEmpty() || name == u"." || name == u"..")
        return std::nullopt;
    return name;
}

void ScriptReader::refuse(const ScriptLine &line, const QString &why) const {
    throw Failure(Failure::Kind::Unusable, m_path,
                  printable(JoinText::tr("line %1 %2, so nothing of the script was "
                                         "run: ")
                                .arg(line.number)
                                .arg(why)) +
                      quotedLine(line.text));
}

// name.1 or name.sha256: the restore script beside it, when there is one, says how many pieces
// there are. Without it the pieces run up to the first number that does not exist, and a piece
// found past that number means the missing one is not the end but a gap.
// A list, read later, gives the count itself (countPieces false).
JoinRecipe recipeStandingFor(const QString &path, const QString &fileName, bool countPieces) {
    const QString folderPath = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const OutputNames names(fileName);
    const OutputFolder folder(folderPath);
    JoinRecipe recipe = recipeBeside(folder, names);
    recipe.chosen = path;
    if (!recipe.script.isEmpty() || !countPieces)
        return recipe;
    QByteArray name;
    do {
        names.setPieceOnDisk(name, ++recipe.pieceCount);
    } while (folder.facts(name).kind != FileKind::Missing);
    --recipe.pieceCount;
    if (recipe.pieceCount == 0)
        throw Failure(Failure::Kind::NotFound, folder.filePath(names.pieceOnDisk(1)),
                      qt_error_string(ENOENT));
    if (const std::optional<QString> beyond = pieceBeyond(folder, names, recipe.pieceCount))
        throw Failure(Failure::Kind::NotFound, folder.filePath(name),
                      JoinText::tr("this piece is missing, though %1 is there").arg(*beyond));
    return recipe;
}

} // namespace

JoinRecipe recipeBeside(const OutputFolder &folder, const OutputNames &names) {
    JoinRecipe recipe;
    if (folder.facts(names.scriptOnDisk()).kind != FileKind::Missing) {
        recipe = scriptAt(folder.filePath(names.scriptOnDisk())).read();
        if (recipe.destination != names.fileName())
            throw Failure(Failure::Kind::Unusable, recipe.script,
                          JoinText::tr("it stands beside %1 but restores %2, not %3")
                              .arg(names.piece(1), recipe.destination, names.fileName()));
    }
    recipe.folder = QDir::toNativeSeparators(folder.path());
    recipe.destination = names.fileName();
    return recipe;
}

std::optional<QString> pieceBeyond(const OutputFolder &folder, const OutputNames &names,
                                   qint64 count) {
    std::optional<OutputNames::Entry> lowest;
    for (const QByteArray &entry : folder.entryNames()) {
        const std::optional<OutputNames::Entry> output =
            OutputNames::parse(fromFileSystemName(entry));
        if (output && output->kind == OutputNames::Kind::Piece &&
            output->fileName == names.fileName() && output->piece > count &&
            (!lowest || output->piece < lowest->piece))
            lowest = output;
    }
    if (!lowest)
        return std::nullopt;
    return names.piece(lowest->piece);
}

ChecksumList checksumListFor(const OutputFolder &folder, JoinRecipe &recipe,
                             const std::function<bool()> &keepGoing) {
    const OutputNames names(recipe.destination);
    ChecksumList list = readChecksumList(folder, names, keepGoing);
    if (list.path.isEmpty())
        return list;
    const qint64 listed = list.pieces.size();
    const QString listName = printable(QFileInfo(list.path).fileName());
    if (!recipe.script.isEmpty() && recipe.pieceCount != listed)
        throw Failure(Failure::Kind::Unusable, recipe.folder,
                      JoinText::tr("%1 joins %2, but %3 lists %4")
                          .arg(printable(QFileInfo(recipe.script).fileName()),
                               piecesText(recipe.pieceCount), listName, QString::number(listed)));
    if (const std::optional<QString> beyond = pieceBeyond(folder, names, listed))
        throw Failure(Failure::Kind::Unusable, list.path,
                      JoinText::tr("it lists %1, but %2 stands beside them too, so "
                                   "the pieces were not checked against it")
                          .arg(piecesText(listed), printable(*beyond)));
    recipe.pieceCount = listed;
    return list;
}

namespace {

// Whether path is the restore script for macOS and Linux that a split writes, which stands
// for the script for Windows beside it as the first piece does.
bool isOwnPosixScript(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    if (!name.endsWith(QStringLiteral(".sh")) || name.size() <= 3)
        return false;
    // It names and sizes every piece, with its digest: a million pieces take 100 MB.
    constexpr qint64 kLargestPosixScript = qint64(256) << 20;
    QFile script(path);
    return script.open(QIODevice::ReadOnly) &&
           PosixRestoreScript::isScriptOf(script.read(kLargestPosixScript),
                                          OutputNames(name.chopped(3)));
}

} // namespace

JoinRecipe joinRecipeFor(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".1")) && name.size() > 2)
        return recipeStandingFor(path, name.chopped(2), /*countPieces=*/true);
    const QString listSuffix = QStringLiteral(".sha256");
    if (name.endsWith(listSuffix, Qt::CaseInsensitive) && name.size() > listSuffix.size()) {
        if (!QFileInfo::exists(path))
            throw Failure(Failure::Kind::NotFound, path, qt_error_string(ENOENT));
        return recipeStandingFor(path, name.chopped(listSuffix.size()), /*countPieces=*/false);
    }
    if (isOwnPosixScript(path))
        return recipeStandingFor(path, name.chopped(3), /*countPieces=*/true);
    static const QRegularExpression laterPiece(QStringLiteral("\\.[0-9]+$"));
    if (laterPiece.match(name).hasMatch())
        throw Failure(Failure::Kind::Unusable, path,
                      JoinText::tr("it is a piece; choose the restore script, the "
                                   "checksum list or the first piece (the one whose "
                                   "name ends in .1)"));
    JoinRecipe recipe = scriptAt(path).read();
    recipe.chosen = path;
    return recipe;
}

bool isRestoreScriptOf(const QByteArray &script, const QString &fileName) {
    try {
        return ScriptReader({}, script).read().destination == fileName;
    } catch (const Failure &) {
        return false;
    }
}
