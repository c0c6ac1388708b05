#pragma once

#include <QWidget>

// The program's name and version, opened from Help, About.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
};
