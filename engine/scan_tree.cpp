// The tree scan: banner, drive list, then every folder to eight levels below
// the root (or as deep as the host asks) in sorted pre-order with its
// header, files and footer, and the grand total. A step that fails is
// skipped and the scan goes on.

#include "engine/module1.h"

#include "platform/dosfs/errors.h"

namespace engine {

void Module1::send(LineKind kind, const QString& line, Destinations only) {
    const Destinations where = destinations(kind, settings.mode) & only;
    if (where & kToSideB) {
        if (kind == LineKind::File)
            host_.addFileLine(line);
        else
            host_.addListLine(line);
    }
    if (where & kToWorkFile) writeWorkLine(line);
}

void Module1::writeWorkLine(const QString& line) {
    if (!writeWorkFile) return;
    const int error = files_.printLine(kWorkFile, line);
    if (error && !workFileError) workFileError = error;
}

void Module1::folderStart(const QString& header, const QString& path, const QByteArray& hostPath) {
    host_.folderEntered(path);
    host_.folderAt(path, hostPath);
    if (!settings.extFilter.everyFile()) {
        headerShown_ = 0;
        return;
    }
    send(LineKind::Header, header);
    folderName_ = header;
}

void Module1::folderEnd() {
    if (!settings.extFilter.everyFile()) return;
    const Footer footer = folderFooter(widths_, totals_.folderFiles, totals_.folderBytes, false);
    const QString line = settings.folderMode()
                             ? footerWithName(width_, footer, folderName_, widths_)
                             : footer.line();
    send(LineKind::Footer, line);
}

// A stop: the folders read ahead go before the walk closes their parents.
Module1::Flow Module1::abort(End why) {
    if (readAhead_) readAhead_->cancel();
    ended = why;
    return Flow::Abort;
}

// A folder that cannot be read is listed as one without files or
// subfolders and named to the host, unless the read failed because the
// reader of its mount is gone (nothing after it can be read: the scan ends
// as a stop does) or because a stop gave up waiting for it.
Module1::Flow Module1::readFailed(const QString& path, const QByteArray& hostPath, int error) {
    if (error == dosfs::kReaderLost) return abort(End::ReadsLost);
    if (settings.abortRequested) return abort();
    folderStart(path, path, hostPath);
    ++unreadableFolders;
    host_.folderUnreadable(path, hostPath, error);
    return Flow::Go;
}

Module1::Flow Module1::visitLevel(int depth, const std::vector<FolderEntry>& table,
                                  const readers::ReadAhead::Folder& parent) {
    dosfs::FolderContents contents;
    if (depth == 1 && parent->isOpen()) {
        std::vector<QByteArray> names;
        names.reserve(table.size());
        for (const FolderEntry& entry : table) names.push_back(entry.hostName);
        readAhead_->plan(parent, names, deepestLevel - depth);
    }
    for (const FolderEntry& entry : table) {
        readers::ReadAhead::Folder dir;
        // Read before its header: a stop seen while the read is awaited
        // leaves the listing at the last whole folder.
        const int error = parent->isOpen() ? readAhead_->take(parent, entry.hostName,
                                                              deepestLevel - depth, dir, contents)
                                           : dosfs::kPathNotFound;
        if (error == readers::ReadAhead::kGivenUp) return abort();
        if (error) {
            contents = {};
            const QByteArray& above = parent->hostPath();
            const QByteArray host = above + (above.endsWith('/') ? "" : "/") + entry.hostName;
            if (readFailed(entry.path, host, error) == Flow::Abort) return Flow::Abort;
        } else {
            countTakenOut(contents, leftOut);
            folderStart(entry.path, entry.path, dir->hostPath());
        }
        if (depth == 1) {
            host_.showFolderPath(entry.path);
            host_.letEventsRun();
            if (settings.abortRequested) return abort();
        }
        totals_.folderBytes = 0;
        totals_.folderFiles = 0;
        if (!contents.files.empty()) {
            hostFolder_ = &dir->hostPath();
            ListFolderFiles(entry.path, contents.files, totals_, headerShown_);
        }
        folderEnd();
        const std::vector<FolderEntry> subfolders = ListSubfolders(entry.path, contents.folders);
        if (depth <= 2) {
            host_.showFolderPath(entry.path);
            host_.letEventsRun();
        } else {
            host_.keepResponsive();
        }
        if (settings.abortRequested) return abort();
        if (depth >= deepestLevel) foldersLeftOut += qint64(subfolders.size());
        if (depth < deepestLevel && !subfolders.empty() && dir &&
            visitLevel(depth + 1, subfolders, dir) == Flow::Abort)
            return Flow::Abort;
    }
    return Flow::Go;
}

void Module1::leaveOut(const Exclusions& exclusions, const QByteArray& rootHost,
                       const QByteArray& hostPath, dosfs::FolderContents& contents) {
    if (exclusions.empty()) return;
    // Below the root: its path without the root's and the "/" after it.
    const qsizetype skip = rootHost.size() + (rootHost.endsWith('/') ? 0 : 1);
    const QByteArrayView below =
        hostPath.size() > skip ? QByteArrayView(hostPath).sliced(skip) : QByteArrayView();
    exclusions.leaveOut(below, contents);
}

void Module1::startScan() {
    width_ = Class1();
    matchCount = 0;
    host_.setSecondCounter(QStringLiteral("0"));
    host_.setBusyPointer(true);
    matchBytes = 0;
    listing.scanStarted();
    workFileError = 0;
    foldersLeftOut = 0;
    unreadableFolders = 0;
    ended = End::Whole;
    leftOut = {};
    rootLeftOutBy = -1;
    totals_ = {};
    folderName_.clear();
    headerShown_ = 0;
    widths_ = layoutWidths(host_.windowWidth(), settings.listType == ListType::Names,
                           settings.folderMode());
    lineLayout_ = {widths_, settings.listType, !settings.folderMode()};
    host_.fileLinesLaidOut(lineLayout_);
}

void Module1::ScanTree() {
    startScan();
    rootHost_ = fs_.resolve(settings.scanRoot).host;
    // A pattern that leaves out the folder listed leaves nothing to list.
    rootLeftOutBy = settings.exclusions.leavesRoot(rootHost_);
    if (rootLeftOutBy >= 0) {
        ended = End::RootLeftOut;
        host_.setBusyPointer(false);
        return host_.enableStop();
    }
    if (listHeading() == Flow::Abort) {
        ended = End::Stopped;
        return host_.enableStop();
    }
    auto root = std::make_shared<dosfs::Directory>();
    std::vector<FolderEntry> level1;
    if (listRoot(*root, level1) == Flow::Abort) return host_.enableStop();

    // Below the root, each folder's names are sorted by the thread that read
    // it, once; its subfolders are then read ahead in the order the walk
    // takes them.
    // While a folder read is awaited an interactive host stays responsive,
    // and a stop ends the wait.
    readers::ReadAhead::Waiting waiting;
    if (host_.interactive())
        waiting = [this] {
            host_.keepResponsive();
            return settings.abortRequested;
        };
    readers::ReadAhead readAhead(
        readers,
        // A reader may finish a folder after the scan is over: it holds its
        // own copy of what it needs, never the scan's.
        [exclusions = std::make_shared<const Exclusions>(settings.exclusions),
         rootHost = rootHost_](const dosfs::Directory& dir, dosfs::FolderContents& c) {
            leaveOut(*exclusions, rootHost, dir.hostPath(), c);
            SortNames(c.files);
            SortNames(c.folders);
        },
        std::move(waiting));
    readAhead_ = &readAhead;
    const Flow flow = level1.empty() ? Flow::Go : visitLevel(1, level1, root);
    readAhead_ = nullptr;
    if (flow == Flow::Abort) return host_.enableStop();
    listTotal();
}

// The banner and the drive list, with their poll points.
Module1::Flow Module1::listHeading() {
    scanTime = host_.now();
    const QString banner = bannerLine(widths_, today(scanTime),
                                      host_.outputTypeText().value_or(caption(settings.listType)),
                                      host_.extensionText().value_or(settings.extFilter.text()));
    send(LineKind::Banner, banner);
    host_.showWindow();
    host_.letEventsRun();
    if (settings.abortRequested) return Flow::Abort;

    for (const QString& drive : host_.driveEntries()) send(LineKind::Drive, drive);
    send(LineKind::Drive, QString(), kToSideB);
    host_.letEventsRun();
    if (settings.abortRequested) return Flow::Abort;
    send(LineKind::Drive, QString(), kToWorkFile);
    return Flow::Go;
}

// The scan root's own files; its subfolders, sorted, into `level1`. The root
// stays open for the first level to be read below it.
Module1::Flow Module1::listRoot(dosfs::Directory& root, std::vector<FolderEntry>& level1) {
    const dosfs::Resolved resolved = fs_.resolve(settings.scanRoot);
    int error = resolved.error;
    if (!error) error = dosfs::Directory::open(resolved.host, root);
    dosfs::FolderContents contents;
    if (!error) error = root.read(contents);
    if (!error) {
        leaveOut(settings.exclusions, rootHost_, root.hostPath(), contents);
        countTakenOut(contents, leftOut);
    }
    if (error) {
        contents = {};
        if (readFailed(settings.scanRoot, resolved.host, error) == Flow::Abort) return Flow::Abort;
    } else {
        folderStart(settings.scanRoot, settings.scanRoot, root.hostPath());
    }
    SortNames(contents.folders);
    level1 = ListSubfolders(settings.scanRoot, contents.folders);
    QString rootPath = settings.scanRoot;
    if (rootPath.endsWith(u'\\')) rootPath.chop(1);
    totals_ = {};
    SortNames(contents.files);
    hostFolder_ = &root.hostPath();
    if (!contents.files.empty()) ListFolderFiles(rootPath, contents.files, totals_, headerShown_);
    folderEnd();
    return Flow::Go;
}

// The grand total and the normal end of a scan. Unfiltered, a tree that
// holds any file has a total, even when every file is empty; a filtered
// total stands when the tree's files hold any byte, whatever matched.
void Module1::listTotal() {
    qint64 shownCount = 0;
    const bool everyFile = settings.extFilter.everyFileTrimmed();
    if (everyFile ? totals_.allFiles != 0 : totals_.grandBytes != 0) {
        shownCount = everyFile ? totals_.allFiles : matchCount;
        const QString kb = everyFile ? kbText(totals_.grandBytes, kGrandDigits)
                                     : kbText(matchBytes, kFolderDigits);
        const QString total = totalLine(widths_, shownCount, kb);
        send(LineKind::Total, total);
    }
    host_.setFoundCount(QString::number(everyFile ? shownCount : matchCount));
    host_.setSecondCounter(QStringLiteral("0"));
    host_.scanFinished();
    // The work file is among the files closed here; its last buffered lines
    // are written now, so a failure shows up here too.
    if (files_.isOpen(kWorkFile)) {
        const int error = files_.close(kWorkFile);
        if (error && !workFileError) workFileError = error;
    }
    files_.closeAll();
    host_.setBusyPointer(false);
    host_.enableStop();
}

}  // namespace engine
