#include "Writeback.h"

void startWriteback(int, qint64, qint64) {}
