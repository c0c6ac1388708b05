#pragma once

#include <QString>

#include <functional>

// Whether a drive can be read now, asked the way the window's drive handlers ask it:
//   Scripting::FileSystemObject().GetDrive(root).IsReady()
namespace Scripting {

class Drive {
public:
    explicit Drive(QString root);
    bool IsReady() const;

private:
    QString m_root;
};

class FileSystemObject {
public:
    Drive GetDrive(const QString &root) const { return Drive(root); }

    // Replaces the readiness test, so that tests can present a drive that is not ready;
    // an empty probe restores the real one. Returns the probe that was in place.
    using ReadinessProbe = std::function<bool(const QString &root)>;
    static ReadinessProbe setReadinessProbe(ReadinessProbe probe);
};

} // namespace Scripting
