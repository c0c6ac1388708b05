#include "MountWatcher.h"

struct MountWatcher::Source {};

MountWatcher::MountWatcher(QObject *parent)
    : QObject(parent) {}

MountWatcher::~MountWatcher() = default;
