#pragma once

#include <QListWidget>
#include <QString>

// The files of one folder, by name; hidden files stay hidden, as the platform hides them.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString &folder);

    // Name of the selected file, empty when none is selected.
    QString selectedFileName() const;

private:
    QString m_path;
};
