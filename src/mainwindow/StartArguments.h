#pragma once

#include <QString>
#include <QStringList>

// What Tessary is started with:
//   tessary [FILE...]          the window, with the FILEs queued and the source browser on
//                              the first one's folder
//   tessary --join [FILE]      the window, then File > Join Files... for FILE
//   tessary --verify [FILE]    the window, then File > Verify Pieces... for FILE
// (without FILE the file dialog asks), and --help and --version, which print and end.
struct StartArguments {
    enum class Action { Queue, Join, Verify, Help, Version, Wrong };
    Action action = Action::Queue;
    QStringList files;
    QString problem; // for Wrong: what is wrong, in a line

    static StartArguments parse(const QStringList &arguments); // arguments[0]: the program
    static QString helpText();
};
