// A snapshot read a line at a time for a comparison: checked first in a
// pass of its own, or checked as it is compared when the comparison can
// still be thrown away. Only a snapshot out of listing order is held in
// memory, sorted.

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
    // False at the end of the file; `error` an errno when reading failed.
    bool next(int& error) {
        line.clear();
        for (;;) {
            if (at == end) {
                if (eof) break;
                const ssize_t n = ::read(fd, buffer.data(), buffer.size());
                if (n < 0) {
                    if (errno == EINTR) continue;
                    error = errno;
                    return false;
                }
                at = 0;
                end = size_t(n);
                eof = n == 0;
                continue;
            }
            const char* start = buffer.data() + at;
            const void* lf = std::memchr(start, '\n', end - at);
            const size_t n = lf ? static_cast<const char*>(lf) - start : end - at;
            line.append(start, n);
            at += n + (lf ? 1 : 0);
            if (lf) {
                ended = true;
                ++number;
                return true;
            }
        }
        if (line.empty()) return false;
        ended = false;
        ++number;
        return true;
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
    if (!lines_->next(error)) {
        if (error) message = QString::fromLocal8Bit(std::strerror(error)).toLower();
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
    return QStringLiteral("it is empty: a snapshot holds a line for each file");
}
}  // namespace

bool SnapshotReader::check(QString& message) {
    checking_ = false;
    if (!open(message)) return false;
    SnapshotFile file;
    count_ = 0;
    outOfOrder_ = 0;
    while (nextLine(file, message))
        if (!placeInOrder(file, message)) return false;
    if (!message.isEmpty()) return false;
    if (count_ == 0) return message = emptySnapshot(), false;
    checked_ = true;
    if (outOfOrder_) return sortInMemory(message);
    return open(message);
}

bool SnapshotReader::start(QString& message) {
    count_ = 0;
    outOfOrder_ = 0;
    fault_.clear();
    checking_ = false;
    if (!open(message)) return false;
    // The first line at once: a file that is no snapshot is told before a
    // scan is made to compare it with.
    if (!nextLine(first_, message) || !placeInOrder(first_, message)) {
        if (message.isEmpty()) message = emptySnapshot();
        return false;
    }
    checked_ = checking_ = holdingFirst_ = true;
    return true;
}

bool SnapshotReader::nextChecked(SnapshotFile& out) {
    if (holdingFirst_) {
        holdingFirst_ = false;
        return out = first_, true;
    }
    if (nextLine(out, fault_) && placeInOrder(out, fault_) && outOfOrder_ == 0) return true;
    checked_ = false;  // nothing more, whatever ended it
    return false;
}

bool SnapshotReader::sortInMemory(QString& message) {
    if (!open(message)) return false;
    std::vector<SnapshotFile> files;
    files.reserve(size_t(count_));
    std::vector<ListingPlace> places;
    places.reserve(size_t(count_));
    SnapshotFile file;
    while (nextLine(file, message)) {
        places.emplace_back();
        places.back().set(file.path);
        files.push_back(file);
    }
    if (!message.isEmpty()) return false;
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
    sorted_.reserve(files.size());
    for (size_t i : order) sorted_.push_back(std::move(files[i]));
    lines_.reset();
    return true;
}

SnapshotSummary summarizeSnapshot(const QByteArray& hostPath) {
    SnapshotSummary summary;
    SnapshotReader reader(hostPath);
    QString message;
    if (!reader.open(message)) return summary;
    SnapshotReader::Lines& lines = *reader.lines_;
    int error = 0;
    if (!lines.next(error)) return summary;
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

bool SnapshotReader::next(SnapshotFile& out) {
    if (!checked_) return false;
    if (checking_) return nextChecked(out);
    if (!lines_) {
        if (sortedNext_ >= sorted_.size()) return false;
        out = sorted_[sortedNext_++];
        return true;
    }
    QString message;
    if (nextLine(out, message)) return true;
    if (!message.isEmpty() && readError_.isEmpty()) readError_ = message;
    return false;
}

}  // namespace engine
