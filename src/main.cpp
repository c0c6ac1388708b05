#include "StartArguments.h"
#include "Translations.h"
#include "Version.h"
#include "frmSplit.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <optional>

int main(int argc, char *argv[]) {
    // Help and version need no window system: they are answered before one is reached, with an
    // application object that only finds their words.
    std::optional<QCoreApplication> words(std::in_place, argc, argv);
    installTranslations();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const StartArguments start = StartArguments::parse(arguments);
    switch (start.action) {
    case StartArguments::Action::Help:
        std::fputs(StartArguments::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case StartArguments::Action::Version:
        std::printf("tessary %s\n", kTessaryVersion);
        return 0;
    case StartArguments::Action::Wrong:
        std::fputs(QCoreApplication::translate("Start", "tessary: %1\nTry 'tessary --help'.\n")
                       .arg(start.problem)
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return 2;
    case StartArguments::Action::Queue:
    case StartArguments::Action::Join:
    case StartArguments::Action::Verify:
        break;
    }

    words.reset();
    QApplication app(argc, argv);
    installTranslations();
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QApplication::setApplicationVersion(QLatin1StringView(kTessaryVersion));
    // Ties the windows to the launcher entry, whose icon they show.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessary.Tessary"));
    frmSplit window;
    window.show();
    // Once the window is up, so that what follows stands in front of it.
    QTimer::singleShot(0, &window, [&] {
        const QString file = start.files.value(0);
        if (start.action == StartArguments::Action::Join)
            window.join(file);
        else if (start.action == StartArguments::Action::Verify)
            window.verify(file);
        else if (!start.files.isEmpty())
            window.queueFiles(start.files);
    });
    return QApplication::exec();
}
