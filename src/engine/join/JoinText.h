#pragma once

#include <QCoreApplication>

// The context a join's words are translated in.
class JoinText {
    Q_DECLARE_TR_FUNCTIONS(Join)
};
