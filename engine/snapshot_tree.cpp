#include "engine/snapshot_tree.h"

#include "engine/line_input.h"

#include <cstring>

#include <sys/stat.h>

namespace engine {
namespace {

// The folder part of a path below the folder scanned; "" for a file in it.
QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

int depthOf(const QByteArray& relative) {
    return relative.isEmpty() ? 0 : int(relative.count('/')) + 1;
}

// `path` less its last `n` parts ("\" between DOS names, "/" between host
// names).
template <class Text, class Sep>
Text cutParts(Text path, qsizetype n, Sep separator) {
    for (; n > 0; --n) {
        const qsizetype cut = path.lastIndexOf(separator);
        if (cut < 0) return {};
        path.truncate(cut == 0 ? 1 : cut);
    }
    return path;
}

QByteArray below(const QByteArray& top, const QByteArray& relative) {
    if (relative.isEmpty()) return top;
    return top + (top.endsWith('/') ? "" : "/") + relative;
}

}  // namespace

SnapshotTree::SnapshotTree(QByteArray hostPath) : hostPath_(std::move(hostPath)) {}
SnapshotTree::~SnapshotTree() = default;

bool SnapshotTree::refuse(const QString& why) {
    if (fault_.isEmpty()) fault_ = QStringLiteral("line %1: %2").arg(lines_->number()).arg(why);
    held_ = false;
    return false;
}

bool SnapshotTree::readLine() {
    if (!fault_.isEmpty() || ended_) return false;
    int error = 0;
    switch (lines_->next(error)) {
        case LineInput::Read::Line:
            break;
        case LineInput::Read::End:
            ended_ = true;
            return false;
        case LineInput::Read::Failed:
            fault_ = QString::fromLocal8Bit(std::strerror(error)).toLower();
            return false;
        case LineInput::Read::TooLong:
            return refuse(QStringLiteral("over %1 MiB long, which no snapshot line is")
                              .arg(SnapshotReader::kLongestLine >> 20));
    }
    QString why;
    SnapshotHeader header;
    const LineFault fault = parseSnapshotEntry(lines_->padded(), lines_->length(),
                                               lines_->capacity(), entry_, header, why);
    if (fault == LineFault::Json && !lines_->ended())
        return refuse(QStringLiteral("the last line is cut short (%1)").arg(why));
    if (fault != LineFault::None) return refuse(why);
    if (entry_.kind == SnapshotLineKind::Header) {
        if (lines_->number() != 1)
            return refuse(
                QStringLiteral("a snapshot's first line, not one of its folders or files"));
        header_ = header;
    }
    held_ = true;
    return true;
}

bool SnapshotTree::start(QString& message) {
    lines_ = std::make_unique<LineInput>(SnapshotReader::kLongestLine);
    return lines_->open(hostPath_, message) && readFirst(message);
}

bool SnapshotTree::readFirst(QString& message) {
    header_ = {};
    if (!readLine()) {
        message = fault_.isEmpty() ? QStringLiteral("the snapshot lists no files") : fault_;
        return false;
    }
    if (entry_.kind == SnapshotLineKind::Header) {
        held_ = false;
        return true;
    }
    if (entry_.kind == SnapshotLineKind::Folder)
        return message = QStringLiteral(
                   "line 1: a folder's line, where the snapshot's first "
                   "line belongs"),
               false;
    // An older snapshot: its folder is the first file's less the folders
    // its path goes down.
    const qsizetype down = depthOf(folderOf(entry_.file.path));
    header_.folder = cutParts(entry_.folder, down, u'\\');
    header_.hostFolder = cutParts(entry_.hostFolder, down, '/');
    if (header_.folder.isEmpty() || header_.hostFolder.isEmpty())
        return message = QStringLiteral("line 1: its \"folder\" does not hold its path's folders"),
               false;
    // Its time is the file's, as near as can be told.
    struct stat st {};
    if (::fstat(lines_->fd(), &st) == 0 && S_ISREG(st.st_mode)) header_.time = st.st_mtim.tv_sec;
    return true;
}

void SnapshotTree::enter(SnapshotFolder& out, const QByteArray& relative, const QString& dos,
                         const QByteArray& host, int error) {
    open_.push_back({relative, dos, host});
    out.relative = relative;
    out.path = dos;
    out.hostPath = host;
    out.depth = depthOf(relative);
    out.error = error;
    lastFolder_.set(relative + '/');
    anyFolder_ = true;
}

bool SnapshotTree::takeFolderLine(SnapshotFolder& out) {
    const QByteArray& relative = entry_.file.path;
    if (!anyFolder_ && !relative.isEmpty())
        return refuse(QStringLiteral("the folder %1 comes before the line of the folder scanned")
                          .arg(QString::fromUtf8(relative)));
    if (anyFolder_) {
        if (relative.isEmpty())
            return refuse(QStringLiteral("the folder scanned is given a second time"));
        place_.set(relative + '/');
        if (place_.compareFolder(lastFolder_) <= 0)
            return refuse(QStringLiteral("the folder %1 is out of listing order or given twice")
                              .arg(QString::fromUtf8(relative)));
        const QByteArray parent = folderOf(relative);
        while (!open_.empty() && open_.back().relative != parent) open_.pop_back();
        if (open_.empty())
            return refuse(QStringLiteral("the folder %1 comes before its parent's line")
                              .arg(QString::fromUtf8(relative)));
    }
    if (entry_.hostFolder != below(header_.hostFolder, relative))
        return refuse(
            QStringLiteral("its \"host_folder\" is not below the folder the first line "
                           "names"));
    enter(out, relative, entry_.folder, entry_.hostFolder, entry_.error);
    held_ = false;
    return true;
}

// An older snapshot's next folder: the folder scanned first, then each
// folder on the way down to the next file's.
bool SnapshotTree::olderFolder(SnapshotFolder& out) {
    if (!anyFolder_) {
        enter(out, {}, header_.folder, header_.hostFolder, 0);
        return true;
    }
    const QByteArray target = folderOf(entry_.file.path);
    while (!open_.empty() && !open_.back().relative.isEmpty() &&
           !(target + '/').startsWith(open_.back().relative + '/'))
        open_.pop_back();
    const qsizetype depth = open_.size();  // of the folder to enter
    const qsizetype deeper = depthOf(target) - depth;
    QByteArray relative = target;
    for (qsizetype n = deeper; n > 0; --n) relative = folderOf(relative);
    place_.set(relative + '/');
    if (place_.compareFolder(lastFolder_) <= 0)
        return refuse(QStringLiteral("the file %1 is out of listing order: list the folder "
                                     "again with tolan-list --format jsonl")
                          .arg(QString::fromUtf8(entry_.file.path)));
    enter(out, relative, cutParts(entry_.folder, deeper, u'\\'),
          cutParts(entry_.hostFolder, deeper, '/'), 0);
    return true;
}

bool SnapshotTree::nextFolder(SnapshotFolder& out) {
    dosfs::DirEntry passed;
    while (nextFile(passed)) {
    }
    if (!held_ && !readLine()) return false;
    if (entry_.kind == SnapshotLineKind::Folder) return takeFolderLine(out);
    if (older()) return olderFolder(out);
    return refuse(QStringLiteral("a file's line before the line of its folder"));
}

bool SnapshotTree::nextFile(dosfs::DirEntry& out) {
    if (!held_ && !readLine()) return false;
    if (entry_.kind != SnapshotLineKind::File || open_.empty()) return false;
    const Open& folder = open_.back();
    const QByteArray& path = entry_.file.path;
    if (folderOf(path) != folder.relative) {
        if (older()) return false;  // a folder of its own comes first
        return refuse(QStringLiteral("the file %1 is not in the folder whose line comes before it")
                          .arg(QString::fromUtf8(path)));
    }
    if (entry_.hostFolder != folder.host || entry_.folder != folder.dos)
        return refuse(QStringLiteral("its folder disagrees with its path and the first line"));
    // Read whole once already: its order was found right then.
    if (!checked_) {
        place_.set(path);
        if (anyFile_ && place_.compare(lastFile_) <= 0)
            return refuse(QStringLiteral("the file %1 is out of listing order or given twice")
                              .arg(QString::fromUtf8(path)));
        std::swap(place_, lastFile_);
    }
    anyFile_ = true;
    held_ = false;
    out.name = entry_.name;
    out.hostName = entry_.hostName;
    out.size = entry_.file.size;
    out.mtime = entry_.file.mtime;
    out.hidden = entry_.hostName.startsWith('.');
    out.readOnly = entry_.readOnly;
    out.blocks = entry_.blocks;
    return true;
}

bool SnapshotTree::checkWhole(QString& message) {
    SnapshotFolder folder;
    dosfs::DirEntry file;
    while (nextFolder(folder))
        while (nextFile(file)) {
        }
    if (!fault_.isEmpty()) return message = fault_, false;
    return again(message);
}

bool SnapshotTree::again(QString& message) {
    if (!lines_ || !lines_->rewind())
        return message = QStringLiteral("a pipe cannot be read again"), false;
    checked_ = whole();
    held_ = ended_ = anyFolder_ = anyFile_ = false;
    fault_.clear();
    open_.clear();
    lastFolder_ = lastFile_ = ListingPlace();
    return readFirst(message);
}

}  // namespace engine
