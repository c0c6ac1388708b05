#pragma once

#include <QList>

class QWidget;

// Layouts were drawn for fonts that not every system has. Gives fontOwner (and so every control
// inside it that keeps its parent's font) the largest size of its font, no larger than it has
// now, at which the text of every captioned control fits the control's width.
void fitFontToCaptions(QWidget *fontOwner, const QList<QWidget *> &captioned);
