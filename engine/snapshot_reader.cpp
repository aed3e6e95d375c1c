// A snapshot read a line at a time, once, from the descriptor it opened,
// each line checked as the comparison takes its file. Only a snapshot out
// of listing order is held in memory, sorted.

#include "engine/snapshot.h"

#include "engine/line_input.h"

#include "platform/dosfs/errors.h"

#include <simdjson.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

SnapshotReader::SnapshotReader(QByteArray hostPath) : hostPath_(std::move(hostPath)) {}
SnapshotReader::~SnapshotReader() = default;

bool SnapshotReader::open(QString& message) {
    lines_ = std::make_unique<LineInput>(kLongestLine);
    return lines_->open(hostPath_, message);
}

bool SnapshotReader::nextLine(SnapshotFile& out, QString& message) {
    for (;;) {
        int error = 0;
        switch (lines_->next(error)) {
            case LineInput::Read::Line:
                break;
            case LineInput::Read::End:
                return false;
            case LineInput::Read::Failed:
                message = QString::fromLocal8Bit(std::strerror(error)).toLower();
                return false;
            case LineInput::Read::TooLong:
                message = QStringLiteral("line %1: over %2 MiB long, which no snapshot line is")
                              .arg(lines_->number())
                              .arg(kLongestLine >> 20);
                return false;
        }
        QString why;
        SnapshotLineKind kind = SnapshotLineKind::File;
        const LineFault fault = parseSnapshotLine(lines_->padded(), lines_->length(),
                                                  lines_->capacity(), out, why, &kind);
        if (fault == LineFault::None && kind == SnapshotLineKind::Header) {
            if (lines_->number() == 1 && readHeader(why)) continue;
            if (why.isEmpty())
                why = QStringLiteral("a snapshot's first line, not one of its files");
        } else if (fault == LineFault::None && kind == SnapshotLineKind::Folder) {
            continue;  // a comparison goes by the files
        } else if (fault == LineFault::None) {
            return true;
        } else if (fault == LineFault::Json && !lines_->ended()) {
            why = QStringLiteral("the last line is cut short (%1)").arg(why);
        }
        message = QStringLiteral("line %1: %2").arg(lines_->number()).arg(why);
        return false;
    }
}

bool SnapshotReader::readHeader(QString& message) {
    SnapshotEntry entry;
    return parseSnapshotEntry(lines_->padded(), lines_->length(), lines_->capacity(), entry,
                              header_, message) == LineFault::None;
}

// Takes the file's place after the last one's; false for a path given a
// second time. The first line out of order is noted.
bool SnapshotReader::placeInOrder(const SnapshotFile& file, QString& message) {
    place_.set(file.path);
    const int c = count_ == 0 ? 1 : place_.compare(last_);
    if (c == 0)
        return message = QStringLiteral("line %1: the path %2 is given a second time")
                             .arg(lines_->number())
                             .arg(QString::fromUtf8(file.path)),
               false;
    if (c < 0 && outOfOrder_ == 0) outOfOrder_ = lines_->number();
    std::swap(last_, place_);
    ++count_;
    return true;
}

namespace {
QString emptySnapshot() {
    return QStringLiteral("the snapshot lists no files");
}
}  // namespace

bool SnapshotReader::start(QString& message) {
    if (!open(message)) return false;
    // The first line at once: a file that is no snapshot is told before a
    // scan is made to compare it with.
    if (!nextLine(first_, message)) {
        // A snapshot that says what it is may hold no file: that of an
        // empty folder.
        if (message.isEmpty() && header_.format != 0) return whole_ = true;
        if (message.isEmpty()) message = emptySnapshot();
        return false;
    }
    if (!placeInOrder(first_, message)) return false;
    reading_ = holdingFirst_ = true;
    return true;
}

bool SnapshotReader::next(SnapshotFile& out) {
    if (holdingFirst_) {
        holdingFirst_ = false;
        return out = first_, true;
    }
    if (sortedNext_ < sorted_.size()) return out = sorted_[sortedNext_++], true;
    if (!reading_) return false;
    if (nextLine(out, fault_) && placeInOrder(out, fault_) && outOfOrder_ == 0) return true;
    reading_ = false;  // nothing more, whatever ended it
    if (fault_.isEmpty() && count_ == 0 && header_.format == 0) fault_ = emptySnapshot();
    whole_ = fault_.isEmpty() && outOfOrder_ == 0;
    return false;
}

bool SnapshotReader::again(bool sorted, QString& message) {
    if (!lines_ || !lines_->rewind()) {
        message = outOfOrder_ ? QStringLiteral(
                                    "line %1 is out of listing order, and a pipe cannot be read "
                                    "again to sort it; save the snapshot to a file first")
                                    .arg(outOfOrder_)
                              : QStringLiteral(
                                    "the other snapshot is out of listing order, and this one, a "
                                    "pipe, cannot be read again to compare it with the other "
                                    "sorted; save it to a file first");
        return false;
    }
    count_ = outOfOrder_ = 0;
    fault_.clear();
    whole_ = holdingFirst_ = false;
    sorted_.clear();
    sortedNext_ = 0;
    reading_ = !sorted;
    return !sorted || readSorted(message);
}

bool SnapshotReader::readSorted(QString& message) {
    std::vector<SnapshotFile> files;
    std::vector<ListingPlace> places;
    qint64 held = 0;  // bytes, about: a file and each part of its path
    SnapshotFile file;
    while (nextLine(file, message)) {
        held += 256 + 128 * (file.path.count('/') + 1) + 4 * file.path.size();
        if (held > kSortLimit)
            return message = QStringLiteral(
                                 "line %1: a snapshot out of listing order is sorted in memory, "
                                 "and this one would take over %2 GiB")
                                 .arg(lines_->number())
                                 .arg(kSortLimit >> 30),
                   false;
        places.emplace_back();
        places.back().set(file.path);
        files.push_back(file);
    }
    if (!message.isEmpty()) return false;
    if (files.empty() && header_.format == 0) return message = emptySnapshot(), false;
    std::vector<size_t> order(files.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return places[a].compare(places[b]) < 0; });
    for (size_t i = 1; i < order.size(); ++i)
        if (places[order[i]].compare(places[order[i - 1]]) == 0)
            return message = QStringLiteral("line %1: the path %2 is given a second time")
                                 .arg(qMax(order[i], order[i - 1]) + 1)
                                 .arg(QString::fromUtf8(files[order[i]].path)),
                   false;
    places = {};
    sorted_.reserve(files.size());
    for (size_t i : order) sorted_.push_back(std::move(files[i]));
    whole_ = true;
    return true;
}

int readAgain(const std::vector<SnapshotReader*>& snapshots, QString& message) {
    for (size_t i = 0; i < snapshots.size(); ++i)
        if (!snapshots[i]->fault().isEmpty()) return message = snapshots[i]->fault(), int(i);
    for (size_t i = 0; i < snapshots.size(); ++i)
        if (!snapshots[i]->again(snapshots[i]->firstLineOutOfOrder() != 0, message)) return int(i);
    return -1;
}

SnapshotSummary summarizeSnapshot(const QByteArray& hostPath) {
    SnapshotSummary summary;
    LineInput lines(SnapshotReader::kLongestLine);
    QString message;
    int error = 0;
    if (!lines.open(hostPath, message) || lines.next(error) != LineInput::Read::Line)
        return summary;
    SnapshotEntry entry;
    SnapshotHeader header;
    const LineFault fault = parseSnapshotEntry(lines.padded(), lines.length(), lines.capacity(),
                                               entry, header, message);
    if (fault == LineFault::None && entry.kind == SnapshotLineKind::Header) {
        summary.folder = header.folder;
        summary.time = header.time;
    } else {
        summary.folder = scannedFolder(lines.padded(), lines.length(), lines.capacity());
        summary.files = 1;
    }
    // The rest is only counted: the lines less the folders'.
    qint64 count = 0, folders = 0;
    lines.countRest(count, kFolderLineStart, folders);
    summary.files += count - folders;
    return summary;
}

}  // namespace engine
