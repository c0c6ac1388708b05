#include "sets/RestoreScriptReader.h"

#include "Failure.h"
#include "SourceFile.h"
#include "names/OutputNames.h"
#include "names/PortableName.h"
#include "names/RestoreScript.h"
#include "words/TextLines.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringList>

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
    // Refuses the script at line, for code with the values that follow the line's.
    [[noreturn]] void refuse(Failure::Code code, const ScriptLine &line,
                             QList<FailureArg> more = {}) const;

    QString m_path;
    QByteArray m_bytes;
};

QByteArray readScript(const SourceFile &file) {
    if (file.facts().size > kLargestScript)
        throw Failure(Failure::Code::ScriptTooLarge, file.path());
    return file.readAll(kLargestScript);
}

JoinRecipe ScriptReader::read() {
    const QList<ScriptLine> script = lines();
    if (script.size() < 2)
        throw Failure(Failure::Code::ScriptTooShort, m_path);
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
            refuse(Failure::Code::ScriptLineAfterEcho, script[i + 1],
                   {FailureArg::name(recipe.destination)});
        if (!copy)
            refuse(Failure::Code::ScriptLineNotCopy, line);
        if (i == 0) {
            recipe.destination = copy->destination;
            if (std::optional<Failure> problem = portableNameProblem(recipe.destination))
                throw Failure::because(Failure::Code::ScriptMakesUnsplittable, m_path,
                                       {FailureArg::count(line.number), FailureArg::line(line.text),
                                        FailureArg::name(recipe.destination)},
                                       *problem);
        } else if (copy->destination != recipe.destination) {
            refuse(Failure::Code::ScriptMakesOther, line,
                   {FailureArg::name(copy->destination), FailureArg::name(recipe.destination)});
        }
        // A line after the first goes on from the file joined so far.
        if (i > 0 && copy->sources.first() != recipe.destination)
            refuse(Failure::Code::ScriptLineGoesNotOn, line,
                   {FailureArg::name(recipe.destination)});
        const OutputNames names(recipe.destination);
        for (qsizetype s = i > 0 ? 1 : 0; s < copy->sources.size(); ++s, ++nextPiece) {
            const QString expected = names.piece(nextPiece);
            if (copy->sources[s] != expected)
                refuse(Failure::Code::ScriptNamesWrongPiece, line,
                       {FailureArg::name(copy->sources[s]), FailureArg::name(expected)});
        }
    }
    if (echo.text != RestoreScript::echoLine(recipe.destination))
        refuse(Failure::Code::ScriptLineNotEcho, echo, {FailureArg::name(recipe.destination)});
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
        refuse(Failure::Code::ScriptByteOrderMark, {1, QString::fromUtf8(raw.first().mid(3))});
    const bool utf8 = raw.first() == QByteArrayView(RestoreScript::kUtf8Line);
    QList<ScriptLine> script;
    for (qsizetype i = utf8 ? 1 : 0; i < raw.size(); ++i) {
        const QByteArray &line = raw[i];
        const int number = int(i + 1);
        if (line.size() > RestoreScript::kMaxLineBytes)
            refuse(Failure::Code::ScriptLineTooLong, {number, QString::fromLatin1(line.left(60))});
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
        refuse(Failure::Code::ScriptLineNotUtf8, {number, QString::fromLatin1(line)});
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

void ScriptReader::refuse(Failure::Code code, const ScriptLine &line,
                          QList<FailureArg> more) const {
    throw Failure(code, m_path,
                  QList{FailureArg::count(line.number), FailureArg::line(line.text)} + more);
}

} // namespace

JoinRecipe readRestoreScript(const QString &path, const FileSystem &files) {
    return ScriptReader(path, readScript(SourceFile(path, files))).read();
}

JoinRecipe restoreScriptOf(const QString &path, const QByteArray &bytes) {
    JoinRecipe recipe = ScriptReader(path, bytes).read();
    recipe.folder.clear();
    return recipe;
}
