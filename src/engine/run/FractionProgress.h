#pragma once

#include "run/RunProgress.h"

#include <QtGlobal>

#include <utility>

// Progress that another program tells as the part of its work it has done (0 to 1), told to a
// sink as that part of bytes of work: only forward, however the program's phases count.
class FractionProgress {
public:
    FractionProgress(ProgressSink &sink, qint64 bytes)
        : m_sink(sink)
        , m_bytes(bytes) {}

    void operator()(double done) {
        const qint64 now = qint64(done * double(m_bytes));
        if (now > m_told)
            m_sink.bytesCopied(now - std::exchange(m_told, now));
    }

private:
    ProgressSink &m_sink;
    const qint64 m_bytes;
    qint64 m_told = 0;
};
