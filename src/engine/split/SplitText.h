#pragma once

#include <QCoreApplication>

// The context a split's words are translated in.
class SplitText {
    Q_DECLARE_TR_FUNCTIONS(Split)
};
