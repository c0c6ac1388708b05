#pragma once

#include <QComboBox>
#include <QList>
#include <QString>

// The machine's drives: the mounted volumes, the root volume first and pseudo file systems
// left out. Each entry shows its root and name.
// The list follows the system's mounts: a volume mounted later appears, one that goes away
// leaves, and when it was the current drive the root volume becomes current.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    struct Drive {
        QString root; // native separators, ending in one
        QString name; // volume label, may be empty
    };

    explicit DriveList(QWidget *parent = nullptr);

    static QList<Drive> mountedDrives();

    // Replaces the entries (the machine's drives at construction) and selects the first.
    void setDrives(const QList<Drive> &drives);

    // Root of the current drive, native separators.
    QString drive() const;
    // Makes current the drive that holds path; when none does, the system drive.
    void setDrive(const QString &path);

Q_SIGNALS:
    // The current drive changed, by the user, by setDrive(), or by its going away.
    void driveChanged();

private:
    void followMounts();
};
