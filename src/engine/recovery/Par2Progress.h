#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// How far par2 is, read from the lines it prints, told on as the part of its work done (0 to
// 1): when it makes recovery files, the blocks it has processed; when it checks, the pieces it
// has looked at; when it rebuilds, those first, then the blocks rebuilt.
class Par2Progress {
public:
    enum class Work { Create, Verify, Repair };
    Par2Progress(Work work, qint64 pieces, std::function<void(double)> told);

    void operator()(const QString &line);

private:
    void tell(double done);

    const Work m_work;
    const qint64 m_pieces;
    const std::function<void(double)> m_told;
    qint64 m_looked = 0;
    bool m_repairing = false;
};
