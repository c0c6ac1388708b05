#pragma once

#include <QCoreApplication>

// The context tessary-cli's words are translated in.
class CliText {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};
