#pragma once

#include "FileFacts.h"

#include <QString>

#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Between the C run-time's descriptors, which the platform layer hands out, and the system's
// handles, which do the work on Windows.
HANDLE osHandle(int fd);
// Gives a handle to a descriptor that owns it from now on; closes the handle and returns -1
// when it cannot.
int adoptHandle(HANDLE handle, int flags);

std::wstring widePath(const QString &path);

// The facts of a file's information; a file that is not on a disk is a device.
FileFacts factsOf(const BY_HANDLE_FILE_INFORMATION &information, DWORD fileType);
