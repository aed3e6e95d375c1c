// A snapshot read a line at a time, once, from the descriptor it opened,
// each line checked as the comparison takes its file. Only a snapshot out
// of listing order is held in memory, sorted.

#include "engine/snapshot.h"

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

// The lines of the file, each copied with room for simdjson's padding.
struct SnapshotReader::Lines {
    enum class Read { Line, End, Failed, TooLong };

    int fd = -1;
    std::vector<char> buffer = std::vector<char>(1 << 20);
    size_t at = 0, end = 0;
    bool eof = false;
    std::string line;
    qint64 number = 0;
    bool ended = true;  // the line had its line end

    ~Lines() {
        if (fd >= 0) ::close(fd);
    }
    void rewind() {
        at = end = 0;
        eof = false;
        number = 0;
        ended = true;
    }
    // The next line; `error` an errno when reading failed. A line longer
    // than kLongestLine is not read on.
    Read next(int& error) {
        line.clear();
        for (;;) {
            if (at == end) {
                if (eof) break;
                const ssize_t n = ::read(fd, buffer.data(), buffer.size());
                if (n < 0) {
                    if (errno == EINTR) continue;
                    error = errno;
                    return Read::Failed;
                }
                at = 0;
                end = size_t(n);
                eof = n == 0;
                continue;
            }
            const char* start = buffer.data() + at;
            const void* lf = std::memchr(start, '\n', end - at);
            const size_t n = lf ? static_cast<const char*>(lf) - start : end - at;
            if (line.size() + n > size_t(kLongestLine)) {
                ++number;
                return Read::TooLong;
            }
            line.append(start, n);
            at += n + (lf ? 1 : 0);
            if (lf) {
                ended = true;
                ++number;
                return Read::Line;
            }
        }
        if (line.empty()) return Read::End;
        ended = false;
        ++number;
        return Read::Line;
    }
};

SnapshotReader::SnapshotReader(QByteArray hostPath) : hostPath_(std::move(hostPath)) {}
SnapshotReader::~SnapshotReader() = default;

bool SnapshotReader::open(QString& message) {
    lines_ = std::make_unique<Lines>();
    lines_->fd = ::open(hostPath_.constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (lines_->fd < 0 || ::fstat(lines_->fd, &st) != 0) {
        message = errno == ENOENT ? QStringLiteral("no such file")
                                  : QString::fromLocal8Bit(std::strerror(errno)).toLower();
        return false;
    }
    if (S_ISDIR(st.st_mode))
        return message = QStringLiteral("it is a folder, not a snapshot"), false;
    return true;
}

bool SnapshotReader::nextLine(SnapshotFile& out, QString& message) {
    int error = 0;
    switch (lines_->next(error)) {
        case Lines::Read::Line:
            break;
        case Lines::Read::End:
            return false;
        case Lines::Read::Failed:
            message = QString::fromLocal8Bit(std::strerror(error)).toLower();
            return false;
        case Lines::Read::TooLong:
            message = QStringLiteral("line %1: over %2 MiB long, which no snapshot line is")
                          .arg(lines_->number)
                          .arg(kLongestLine >> 20);
            return false;
    }
    std::string& line = lines_->line;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t length = line.size();
    line.resize(length + simdjson::SIMDJSON_PADDING, ' ');
    QString why;
    const LineFault fault = parseSnapshotLine(line.data(), length, line.size(), out, why);
    line.resize(length);
    if (fault == LineFault::None) return true;
    if (fault == LineFault::Json && !lines_->ended)
        why = QStringLiteral("the last line is cut short (%1)").arg(why);
    message = QStringLiteral("line %1: %2").arg(lines_->number).arg(why);
    return false;
}

// Takes the file's place after the last one's; false for a path given a
// second time. The first line out of order is noted.
bool SnapshotReader::placeInOrder(const SnapshotFile& file, QString& message) {
    place_.set(file.path);
    const int c = count_ == 0 ? 1 : place_.compare(last_);
    if (c == 0)
        return message = QStringLiteral("line %1: the path %2 is given a second time")
                             .arg(lines_->number)
                             .arg(QString::fromUtf8(file.path)),
               false;
    if (c < 0 && outOfOrder_ == 0) outOfOrder_ = lines_->number;
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
    if (!nextLine(first_, message) || !placeInOrder(first_, message)) {
        if (message.isEmpty()) message = emptySnapshot();
        return false;
    }
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
    if (fault_.isEmpty() && count_ == 0) fault_ = emptySnapshot();
    whole_ = fault_.isEmpty() && outOfOrder_ == 0;
    return false;
}

bool SnapshotReader::again(bool sorted, QString& message) {
    if (!lines_ || ::lseek(lines_->fd, 0, SEEK_SET) != 0) {
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
    lines_->rewind();
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
                                 .arg(lines_->number)
                                 .arg(kSortLimit >> 30),
                   false;
        places.emplace_back();
        places.back().set(file.path);
        files.push_back(file);
    }
    if (!message.isEmpty()) return false;
    if (files.empty()) return message = emptySnapshot(), false;
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
    SnapshotReader reader(hostPath);
    QString message;
    if (!reader.open(message)) return summary;
    SnapshotReader::Lines& lines = *reader.lines_;
    int error = 0;
    if (lines.next(error) != SnapshotReader::Lines::Read::Line) return summary;
    std::string& first = lines.line;
    const size_t length = first.size();
    first.resize(length + simdjson::SIMDJSON_PADDING, ' ');
    summary.folder = scannedFolder(first.data(), length, first.size());
    summary.files = 1;
    // The rest is only counted.
    for (;;) {
        const char* at = lines.buffer.data() + lines.at;
        const char* end = lines.buffer.data() + lines.end;
        while (at < end && (at = static_cast<const char*>(std::memchr(at, '\n', end - at)))) {
            ++summary.files;
            ++at;
        }
        const bool lastEnded = lines.end == 0 || lines.buffer[lines.end - 1] == '\n';
        const ssize_t n = ::read(lines.fd, lines.buffer.data(), lines.buffer.size());
        if (n <= 0) {
            if (!lastEnded && lines.end > lines.at) ++summary.files;
            break;
        }
        lines.at = 0;
        lines.end = size_t(n);
    }
    return summary;
}

}  // namespace engine
