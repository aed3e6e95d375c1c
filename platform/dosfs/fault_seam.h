#pragma once
// Lets tests make host folders and files fail as if permission were denied.
// Permission bits do not stop root, so tests cannot rely on chmod alone.

#include <QByteArray>

namespace dosfs::faults {

// Opening the folder (to read it or to create a file in it) fails with EACCES.
void denyFolder(const QByteArray& hostPath);
// Writing to a file created in that folder fails with ENOSPC after `bytes`.
void fillDiskAfter(const QByteArray& hostFolder, long long bytes);
void clearAll();

bool folderDenied(const QByteArray& hostPath);
long long diskRoomIn(const QByteArray& hostFolder);  // -1: no limit

}  // namespace dosfs::faults
