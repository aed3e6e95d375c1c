#include "engine/line_input.h"

#include <simdjson.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

LineInput::~LineInput() {
    if (fd_ >= 0) ::close(fd_);
}

bool LineInput::open(const QByteArray& hostPath, QString& message) {
    fd_ = ::open(hostPath.constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        message = errno == ENOENT ? QStringLiteral("no such file")
                                  : QString::fromLocal8Bit(std::strerror(errno)).toLower();
        return false;
    }
    if (S_ISDIR(st.st_mode))
        return message = QStringLiteral("it is a folder, not a snapshot"), false;
    return true;
}

bool LineInput::rewind() {
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return false;
    at_ = end_ = 0;
    eof_ = false;
    number_ = 0;
    ended_ = true;
    return true;
}

bool LineInput::fill(int& error) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return error = errno, false;
        at_ = 0;
        end_ = size_t(n);
        eof_ = n == 0;
        return true;
    }
}

LineInput::Read LineInput::next(int& error) {
    line_.clear();
    bool lineEnd = false;
    while (!lineEnd) {
        if (at_ == end_) {
            if (eof_) break;
            if (!fill(error)) return Read::Failed;
            continue;
        }
        const char* start = buffer_.data() + at_;
        const void* lf = std::memchr(start, '\n', end_ - at_);
        const size_t n = lf ? static_cast<const char*>(lf) - start : end_ - at_;
        if (line_.size() + n > size_t(longest_)) {
            ++number_;
            return Read::TooLong;
        }
        line_.append(start, n);
        at_ += n + (lf ? 1 : 0);
        lineEnd = lf != nullptr;
    }
    if (!lineEnd && line_.empty()) return Read::End;
    ended_ = lineEnd;
    ++number_;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    length_ = line_.size();
    line_.resize(length_ + simdjson::SIMDJSON_PADDING, ' ');
    return Read::Line;
}

void LineInput::countRest(qint64& lines, const QByteArray& prefix, qint64& prefixed) {
    bool lineStart = at_ == 0 || buffer_[at_ - 1] == '\n';
    for (;;) {
        const char* at = buffer_.data() + at_;
        const char* end = buffer_.data() + end_;
        while (at < end) {
            // A prefix cut by the buffer's end is missed: a count for a list.
            if (lineStart && size_t(end - at) >= size_t(prefix.size()) &&
                std::memcmp(at, prefix.constData(), size_t(prefix.size())) == 0)
                ++prefixed;
            const void* lf = std::memchr(at, '\n', size_t(end - at));
            if (!lf) {
                lineStart = false;
                break;
            }
            ++lines;
            at = static_cast<const char*>(lf) + 1;
            lineStart = true;
        }
        int error = 0;
        if (eof_ || !fill(error) || eof_) {
            if (!lineStart) ++lines;  // the last line without its line end
            return;
        }
    }
}

}  // namespace engine
