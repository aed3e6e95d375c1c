#include "platform/dosfs/numbered_files.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/replace_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {

struct NumberedFiles::File {
    int fd = -1;
    bool owned = true;
    bool reading = false;
    Encoding encoding = Encoding::Cp932;
    int error = 0;
    long long room = -1;      // bytes the fault seam lets through; -1: no limit
    QByteArray buffer;        // pending output, or the input read so far
    qsizetype pos = 0;        // read position in buffer
    bool atEnd = false;       // input: nothing more to read
    QByteArray path;          // the host file, for the fault seam
    Replacement replacement;  // Replace: the file written beside `path`

    ~File() {
        if (replacement.active()) return;  // incomplete: discarded with the replacement
        flush();
        if (owned && fd >= 0) ::close(fd);
    }

    // Replace: puts the complete file in place of the old one.
    int commit() {
        const int err = flush();
        if (err) {
            abandon();
            return err;
        }
        fd = -1;  // closed by the replacement
        return replacement.commit();
    }

    // Replace: the old file stays; nothing more is written.
    void abandon() {
        replacement.discard();
        fd = -1;
        buffer.clear();
    }

    int flush() {
        if (reading || buffer.isEmpty()) return error;
        if (!error) error = writeAll(fd, buffer.constData(), buffer.size(), room, path);
        if (replacement.active()) replacement.written(buffer.size());
        buffer.truncate(0);  // keeps its room for the next lines
        return error;
    }

    // Output is written 64 KiB at a time.
    int endLine() {
        buffer += "\r\n";
        return buffer.size() >= 64 * 1024 ? flush() : kOk;
    }

    // Input is read a piece at a time: reads on until the buffer holds the
    // line at pos with its line end (CR LF whole), or the file has ended.
    int fillLine() {
        for (;;) {
            qsizetype i = pos;
            while (i < buffer.size() && buffer[i] != '\r' && buffer[i] != '\n') ++i;
            if (i < buffer.size() && (buffer[i] == '\n' || i + 1 < buffer.size())) return kOk;
            if (atEnd) return kOk;
            if (pos > 0) {
                buffer.remove(0, pos);
                pos = 0;
            }
            if (const int fault = faults::injected(faults::Op::Read, path))
                return errorFromErrno(fault);
            char chunk[65536];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errorFromErrno(errno);
            if (n == 0) atEnd = true;
            buffer.append(chunk, n);
        }
    }

    // Whether the seam fails this operation; errno then tells how.
    bool failed(faults::Op op) const {
        const int fault = faults::injected(op, path);
        if (fault) errno = fault;
        return fault != 0;
    }

    bool atLineEnd() const {
        return pos < buffer.size() && (buffer[pos] == '\r' || buffer[pos] == '\n');
    }

    void skipLineEnd() {
        if (pos < buffer.size() && buffer[pos] == '\r') ++pos;
        if (pos < buffer.size() && buffer[pos] == '\n') ++pos;
    }

    QString decode(const QByteArray& bytes, bool* valid) const {
        if (encoding == Encoding::Utf8) {
            if (valid) *valid = true;
            return QString::fromUtf8(bytes);
        }
        return codepage::fromCp932(bytes, valid);
    }
};

NumberedFiles::NumberedFiles(const FileSystem& fs) : fs_(fs) {}
NumberedFiles::~NumberedFiles() = default;

int NumberedFiles::add(int number, std::unique_ptr<File> file) {
    if (number < 1 || number > 511) return kBadFileNameOrNumber;
    if (files_.count(number)) return kFileAlreadyOpen;
    files_[number] = std::move(file);
    return kOk;
}

int NumberedFiles::open(int number, const QString& dosPath, OpenMode mode) {
    if (files_.count(number)) return kFileAlreadyOpen;
    const Resolved r =
        mode == OpenMode::Input ? fs_.resolve(dosPath) : fs_.resolveForCreate(dosPath);
    if (r.error) return r.error;
    if (r.isFolder) return kPathFileAccessError;
    return openHost(number, r.host, mode);
}

int NumberedFiles::openHost(int number, const QByteArray& hostPath, OpenMode mode,
                            Encoding encoding) {
    if (number < 1 || number > 511) return kBadFileNameOrNumber;
    if (files_.count(number)) return kFileAlreadyOpen;
    const QByteArray folder = hostPath.left(hostPath.lastIndexOf('/'));
    if (const int fault = faults::injected(faults::Op::Open, hostPath))
        return errorFromErrno(fault, mode == OpenMode::Input);
    auto file = std::make_unique<File>();
    file->encoding = encoding;
    file->path = hostPath;
    if (mode == OpenMode::Input) {
        file->reading = true;
        const int fd = ::open(hostPath.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errorFromErrno(errno, true);
        file->fd = fd;
        // A file that cannot be read fails here, as it always did.
        if (const int error = file->fillLine()) return error;
    } else {
        if (faults::folderDenied(folder.isEmpty() ? QByteArray("/") : folder))
            return kPermissionDenied;
        int fd = -1;
        if (mode == OpenMode::Replace) {
            struct stat st {};
            if (::stat(hostPath.constData(), &st) == 0) {
                if (S_ISDIR(st.st_mode)) return kPathFileAccessError;
                // A read-only file is not replaced, as it would not be written.
                if ((st.st_mode & 0222) == 0) return kPermissionDenied;
            }
            if (const int error = file->replacement.begin(hostPath)) return error;
            fd = file->replacement.fd();
        } else {
            const int flags =
                O_WRONLY | O_CREAT | O_CLOEXEC | (mode == OpenMode::Append ? O_APPEND : O_TRUNC);
            fd = ::open(hostPath.constData(), flags, 0666);
            if (fd < 0) return errorFromErrno(errno);
        }
        file->fd = fd;
        file->room = faults::diskRoomIn(folder);
    }
    return add(number, std::move(file));
}

int NumberedFiles::attach(int number, int fd, Encoding encoding) {
    auto file = std::make_unique<File>();
    file->fd = fd;
    file->owned = false;
    file->encoding = encoding;
    return add(number, std::move(file));
}

int NumberedFiles::printLine(int number, const QString& line) {
    const auto it = files_.find(number);
    if (it == files_.end()) return kBadFileNameOrNumber;
    File& f = *it->second;
    if (f.encoding == Encoding::Utf8) return printBytes(number, line.toUtf8());
    if (f.reading) return kBadFileNameOrNumber;
    if (f.error) return f.error;
    // Encoded straight into the output buffer: no copy of the line is made.
    codepage::appendCp932(f.buffer, line);
    return f.endLine();
}

int NumberedFiles::lineInput(int number, QString& line, bool* valid) {
    QByteArray bytes;
    if (const int error = lineInputBytes(number, bytes)) return error;
    line = files_.at(number)->decode(bytes, valid);
    return kOk;
}

namespace {

bool atLineEnd(const QByteArray& b, qsizetype pos) {
    return pos < b.size() && (b[pos] == '\r' || b[pos] == '\n');
}

// One comma-separated item from pos: leading blanks skipped; a quoted item
// runs to the closing quote, an unquoted one to the next comma or line end
// without its trailing blanks. pos ends after the separator or line end.
QByteArray readItem(const QByteArray& b, qsizetype& pos) {
    while (pos < b.size() && (b[pos] == ' ' || b[pos] == '\t')) ++pos;
    QByteArray raw;
    if (pos < b.size() && b[pos] == '"') {
        const qsizetype start = ++pos;
        while (pos < b.size() && b[pos] != '"' && !atLineEnd(b, pos)) ++pos;
        raw = b.mid(start, pos - start);
        if (pos < b.size() && b[pos] == '"') ++pos;
        // Whatever follows the closing quote up to the separator is dropped.
        while (pos < b.size() && b[pos] != ',' && !atLineEnd(b, pos)) ++pos;
    } else {
        const qsizetype start = pos;
        while (pos < b.size() && b[pos] != ',' && !atLineEnd(b, pos)) ++pos;
        raw = b.mid(start, pos - start);
        while (raw.endsWith(' ') || raw.endsWith('\t')) raw.chop(1);
    }
    if (pos < b.size() && b[pos] == ',') {
        ++pos;
    } else {
        if (pos < b.size() && b[pos] == '\r') ++pos;
        if (pos < b.size() && b[pos] == '\n') ++pos;
    }
    return raw;
}

}  // namespace

NumberedFiles::File* NumberedFiles::nextInput(int number, int& error) {
    const auto it = files_.find(number);
    error = it == files_.end() || !it->second->reading ? kBadFileNameOrNumber : kOk;
    if (error) return nullptr;
    File& f = *it->second;
    error = f.fillLine();
    if (!error && f.pos >= f.buffer.size()) error = kInputPastEnd;
    return error ? nullptr : &f;
}

int NumberedFiles::input(int number, QString& item) {
    int error = kOk;
    File* f = nextInput(number, error);
    if (f) item = f->decode(readItem(f->buffer, f->pos), nullptr);
    return error;
}

int firstItem(const FileSystem& fs, const QString& dosPath, QString& item) {
    const Resolved r = fs.resolve(dosPath);
    if (r.error) return r.error;
    if (r.isFolder) return kPathFileAccessError;
    const int fd = ::open(r.host.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errorFromErrno(errno, true);
    // The first line is enough; a file without line ends is read no
    // further than a megabyte.
    QByteArray head;
    char chunk[65536];
    int error = kOk;
    while (head.size() < (1 << 20) && head.indexOf('\n') < 0 && head.indexOf('\r') < 0) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errorFromErrno(errno);
        if (n <= 0) break;
        head.append(chunk, n);
    }
    ::close(fd);
    if (error) return error;
    if (head.isEmpty()) return kInputPastEnd;
    qsizetype pos = 0;
    item = codepage::fromCp932(readItem(head, pos));
    return kOk;
}

int NumberedFiles::lineInputBytes(int number, QByteArray& line) {
    int error = kOk;
    File* input = nextInput(number, error);
    if (!input) return error;
    File& f = *input;
    const qsizetype start = f.pos;
    while (f.pos < f.buffer.size() && !f.atLineEnd()) ++f.pos;
    line = f.buffer.mid(start, f.pos - start);
    f.skipLineEnd();
    return kOk;
}

int NumberedFiles::printBytes(int number, const QByteArray& line) {
    const auto it = files_.find(number);
    if (it == files_.end()) return kBadFileNameOrNumber;
    File& f = *it->second;
    if (f.reading) return kBadFileNameOrNumber;
    if (f.error) return f.error;
    f.buffer += line;
    return f.endLine();
}

bool NumberedFiles::eof(int number) const {
    const auto it = files_.find(number);
    if (it == files_.end() || !it->second->reading) return true;
    File& f = *it->second;
    if (f.pos >= f.buffer.size() && !f.atEnd) f.fillLine();
    return f.pos >= f.buffer.size() && f.atEnd;
}

int NumberedFiles::close(int number) {
    const auto it = files_.find(number);
    if (it == files_.end()) return kOk;
    if (it->second->replacement.active()) {
        const int error = it->second->commit();
        files_.erase(it);
        return error;
    }
    int error = it->second->flush();
    if (it->second->owned && it->second->fd >= 0) {
        if ((it->second->failed(faults::Op::Close) || ::close(it->second->fd) != 0) && !error)
            error = errorFromErrno(errno);
        it->second->fd = -1;
    }
    files_.erase(it);
    return error;
}

void NumberedFiles::abandon(int number) {
    const auto it = files_.find(number);
    if (it == files_.end()) return;
    it->second->abandon();
    files_.erase(it);
}

void NumberedFiles::closeAll() {
    while (!files_.empty()) {
        const auto first = files_.begin();
        // A replacement its command did not close is incomplete: the file it
        // would replace stays as it is.
        if (first->second->replacement.active())
            abandon(first->first);
        else
            close(first->first);
    }
}

int deleteFile(const FileSystem& fs, const QString& dosPath) {
    const Resolved r = fs.resolve(dosPath);
    if (r.error) return r.error;
    if (r.isFolder) return kPathFileAccessError;
    if (const int fault = faults::injected(faults::Op::Delete, r.host))
        return errorFromErrno(fault, true);
    if (::unlink(r.host.constData()) != 0) return errorFromErrno(errno, true);
    return kOk;
}

}  // namespace dosfs
