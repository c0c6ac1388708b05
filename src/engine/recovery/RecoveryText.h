#pragma once

#include <QCoreApplication>

// The context the recovery files' words are translated in.
class RecoveryText {
    Q_DECLARE_TR_FUNCTIONS(Recovery)
};
