#include "Terminal.h"
#include "CliText.h"

#include "messages/RunMessages.h"
#include "split/SplitRequest.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace Cli {

void print(std::FILE *stream, const QString &text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

void print(std::FILE *stream, const RunMessage &message) {
    print(stream, message.details.isEmpty() ? message.text : message.details);
}

int usage(const QString &command, const QString &problem) {
    print(stderr,
          CliText::tr("%1%2: %3\nTry '%1%2 --help'.")
              .arg(kProgram, command.isEmpty() ? QString() : u' ' + command, printable(problem)));
    return Usage;
}

QString escapedBytes(const QByteArray &bytes) {
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        QString character;
        qsizetype length = 1;
        for (; length <= 4 && i + length <= bytes.size() && character.isEmpty(); ++length) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = decoder.decode(bytes.mid(i, length));
            if (!decoder.hasError())
                character = text;
        }
        if (character.isEmpty()) {
            shown += QStringLiteral("\\x%1").arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            shown += character;
            i += length - 1;
        }
    }
    return printable(shown);
}

QueuedFile queuedFile(const QString &argument) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()));
    return {QDir::toNativeSeparators(info.absoluteFilePath()), info.fileName()};
}

} // namespace Cli
