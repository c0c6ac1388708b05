#pragma once

#include <QString>
#include <QtGlobal>

// Byte counts as people read them, in decimal units like the piece sizes.
// "4.5 GB": one decimal.
QString bytesText(qint64 bytes);
// "4.29 GB", "5 GB": three significant digits, for limits that one decimal would blur.
QString bytesTextPrecise(qint64 bytes);
// "1 byte", "2,500 bytes": every byte counted.
QString byteCountText(qint64 bytes);
