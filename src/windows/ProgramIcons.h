#pragma once

#include <QIcon>

// The main window's picture, the one the launcher entry shows too.
QIcon programIcon();
// The About window's own picture.
QIcon aboutIcon();
