#pragma once

#include <QCoreApplication>

// The context the file layer's words are translated in.
class PlatformText {
    Q_DECLARE_TR_FUNCTIONS(Platform)
};
