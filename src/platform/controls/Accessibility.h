#pragma once

class QLabel;
class QString;
class QWidget;

// What assistive technology is told about a control. A list or a box is named by the caption
// beside it, and the caption is tied to it as its buddy, so that a screen reader says the two as
// one. On Linux, Qt names a drop-down list by the entry it shows and says what the list holds
// only through a caption tied to it.
void nameByCaption(QWidget *control, QLabel *caption);

// For a drop-down list with no caption on show: a caption that is never shown, tied to it as
// nameByCaption ties one.
void nameByUnseenCaption(QWidget *control, const QString &name);

// For a control that is never shown and is kept only for whoever reads the window's controls
// by name: left out of what assistive technology is told, where it would say the same twice.
void leaveOutOfAccessibility(QWidget *hidden);
