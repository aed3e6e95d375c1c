// A listing made from a snapshot: the walk of ScanTree with the snapshot's
// folders and files in place of the file system's, calling the host at the
// same points, so that the lines are those the scan made.

#include "engine/module1.h"
#include "engine/snapshot_tree.h"

namespace engine {

Module1::Flow Module1::listSnapshotFolder(SnapshotTree& tree, const SnapshotFolder& folder) {
    const int depth = folder.depth;
    if (folder.error) {
        if (readFailed(folder.path, folder.hostPath, folder.error) == Flow::Abort)
            return Flow::Abort;
    } else {
        folderStart(folder.path, folder.path, folder.hostPath);
    }
    if (depth == 1) {
        host_.showFolderPath(folder.path);
        host_.letEventsRun();
        if (settings.abortRequested) return abort();
    }
    QString path = folder.path;
    if (depth == 0) {
        if (path.endsWith(u'\\')) path.chop(1);
        totals_ = {};
    } else {
        totals_.folderBytes = 0;
        totals_.folderFiles = 0;
    }
    hostFolder_ = &folder.hostPath;
    dosfs::DirEntry entry;
    if (tree.nextFile(entry)) {
        FolderListing files = beginFiles(path, headerShown_);
        do listFile(files, entry, totals_);
        while (tree.nextFile(entry));
        endFiles(files);
    }
    folderEnd();
    if (depth == 0) return Flow::Go;
    if (depth <= 2) {
        host_.showFolderPath(folder.path);
        host_.letEventsRun();
    } else {
        host_.keepResponsive();
    }
    if (settings.abortRequested) return abort();
    return Flow::Go;
}

void Module1::ListSnapshot(SnapshotTree& tree) {
    startScan();
    if (listHeading() == Flow::Abort) {
        ended = End::Stopped;
        return host_.enableStop();
    }
    SnapshotFolder folder;
    while (tree.nextFolder(folder)) {
        // Below the deepest level a scan counts the folders it reads and
        // goes no further.
        if (folder.depth > deepestLevel) {
            if (folder.depth == deepestLevel + 1) ++foldersLeftOut;
            continue;
        }
        if (listSnapshotFolder(tree, folder) == Flow::Abort) return host_.enableStop();
    }
    if (!tree.fault().isEmpty()) {
        ended = End::Damaged;
        files_.closeAll();
        host_.setBusyPointer(false);
        return host_.enableStop();
    }
    listTotal();
}

}  // namespace engine
