#include "Accessibility.h"

#include <QLabel>
#include <QString>
#include <QWidget>

void nameByCaption(QWidget *control, QLabel *caption) {
    caption->setBuddy(control);
    control->setAccessibleName(caption->text());
}

void nameByUnseenCaption(QWidget *control, const QString &name) {
    auto *caption = new QLabel(name, control->parentWidget());
    caption->hide();
    nameByCaption(control, caption);
}

void leaveOutOfAccessibility(QWidget *hidden) {
    // The tree holds the controls inside each window, and only the windows that have been shown:
    // a window of its own that never is stays out of it, and its owner still finds it by name.
    hidden->setWindowFlag(Qt::Window);
    hidden->hide();
}
