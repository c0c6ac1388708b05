#pragma once

#include <QCoreApplication>

// The context the main window's words are translated in.
class MainWindowText {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};
