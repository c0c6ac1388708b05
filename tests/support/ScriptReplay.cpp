#include "ScriptReplay.h"

#include "TestFiles.h"

#include <QDir>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype kShellLineLimit = 8190;

struct CopyLine {
    QStringList sources;
    QString destination;
};

// Inside quotes the shell still reads %: %% is a plain %, a lone % starts a variable.
std::optional<QString> unescapeQuoted(const QString &text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            if (i + 1 >= text.size() || text[i + 1] != u'%')
                return std::nullopt;
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

std::optional<QString> unescapeEcho(const QString &text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'^') {
            if (++i >= text.size())
                return std::nullopt;
        } else if (ch == u'%') {
            if (i + 1 >= text.size() || text[i + 1] != u'%')
                return std::nullopt;
            ++i;
        } else if (QStringView(u"&|<>()\"").contains(ch)) {
            return std::nullopt;
        }
        plain += text[i];
    }
    return plain;
}

// copy /b "a" + "b" + "c"  "d"
std::optional<CopyLine> parseCopy(const QString &line) {
    const QString prefix = QStringLiteral("copy /b ");
    if (!line.startsWith(prefix))
        return std::nullopt;
    CopyLine copy;
    qsizetype pos = prefix.size();
    bool destinationNext = false;
    for (;;) {
        if (pos >= line.size() || line[pos] != u'"')
            return std::nullopt;
        const qsizetype close = line.indexOf(u'"', pos + 1);
        if (close < 0)
            return std::nullopt;
        const std::optional<QString> name = unescapeQuoted(line.mid(pos + 1, close - pos - 1));
        if (!name)
            return std::nullopt;
        pos = close + 1;
        if (destinationNext) {
            if (pos != line.size())
                return std::nullopt;
            copy.destination = *name;
            return copy;
        }
        copy.sources << *name;
        if (line.mid(pos, 3) == QStringLiteral(" + ")) {
            pos += 3;
        } else if (line.mid(pos, 2) == QStringLiteral("  ")) {
            pos += 2;
            destinationNext = true;
        } else {
            return std::nullopt;
        }
    }
}

} // namespace

ScriptReplay replayScript(const QString &folder, const QString &scriptName) {
    ScriptReplay replay;
    QByteArray bytes = readTestFile(QDir(folder).filePath(scriptName));
    if (!bytes.endsWith("\r\n")) {
        replay.error = QStringLiteral("the script does not end with CR LF");
        return replay;
    }
    QList<QByteArray> lines = bytes.chopped(2).split('\n');
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r') && &line != &lines.last()) {
            replay.error = QStringLiteral("a line ends without CR");
            return replay;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > kShellLineLimit) {
            replay.error = QStringLiteral("a line of %1 bytes").arg(line.size());
            return replay;
        }
    }
    replay.lineCount = int(lines.size());
    const bool utf8 = lines.first() == "@chcp 65001 >nul";
    if (utf8)
        lines.removeFirst();
    else if (std::any_of(bytes.cbegin(), bytes.cend(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; })) {
        replay.error = QStringLiteral("non-ASCII bytes without a switch to UTF-8");
        return replay;
    }
    if (lines.size() < 2) {
        replay.error = QStringLiteral("fewer than two lines");
        return replay;
    }

    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString text = utf8 ? QString::fromUtf8(lines[i]) : QString::fromLatin1(lines[i]);
        const std::optional<CopyLine> copy = parseCopy(text);
        if (!copy) {
            replay.error = QStringLiteral("cannot read copy line: ") + text;
            return replay;
        }
        QByteArray result;
        for (qsizetype s = 0; s < copy->sources.size(); ++s) {
            const QString &source = copy->sources[s];
            if (replay.joined.contains(source)) {
                result += replay.joined.value(source);
            } else if (s == 0 && source == copy->destination) {
                replay.error = QStringLiteral("appends to %1 before it exists").arg(source);
                return replay;
            } else if (QFile::exists(QDir(folder).filePath(source))) {
                result += readTestFile(QDir(folder).filePath(source));
            } else {
                replay.error = QStringLiteral("missing piece ") + source;
                return replay;
            }
        }
        replay.joined.insert(copy->destination, result);
    }

    const QString echo = utf8 ? QString::fromUtf8(lines.last()) : QString::fromLatin1(lines.last());
    const std::optional<QString> printed =
        echo.startsWith(QStringLiteral("echo ")) ? unescapeEcho(echo.mid(5)) : std::nullopt;
    if (!printed) {
        replay.error = QStringLiteral("cannot read echo line: ") + echo;
        return replay;
    }
    replay.echoed = *printed;
    return replay;
}
