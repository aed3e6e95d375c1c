#include "platform/dosfs/numbered_files.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/file_writer.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {

struct NumberedFiles::File {
    bool reading = false;
    Encoding encoding = Encoding::Cp932;
    FileWriter writer;   // output
    int fd = -1;         // input
    QByteArray buffer;   // input read so far
    qsizetype pos = 0;   // read position in buffer
    bool atEnd = false;  // nothing more to read
    QByteArray path;     // the host file, for the fault seam

    ~File() {
        if (fd >= 0) ::close(fd);
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
            if (faults::fails(faults::Op::Read, path)) return errorFromErrno(errno);
            char chunk[65536];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errorFromErrno(errno);
            if (n == 0) atEnd = true;
            buffer.append(chunk, n);
        }
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
NumberedFiles::~NumberedFiles() {
    closeAll();
}

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
    // A file on the program's own drive (the work file) has a name the
    // program chose: a link planted there is replaced, never written through.
    const bool own = mode == OpenMode::Replace && dosPath.size() >= 2 && dosPath[1] == u':' &&
                     fs_.drives().isOwnDrive(dosPath[0]);
    return openHost(number, r.host, own ? OpenMode::ReplaceOwn : mode);
}

int NumberedFiles::openHost(int number, const QByteArray& hostPath, OpenMode mode,
                            Encoding encoding) {
    if (number < 1 || number > 511) return kBadFileNameOrNumber;
    if (files_.count(number)) return kFileAlreadyOpen;
    auto file = std::make_unique<File>();
    file->encoding = encoding;
    file->path = hostPath;
    if (mode != OpenMode::Input) {
        const FileWriter::Mode writing = mode == OpenMode::Append       ? FileWriter::Mode::Append
                                         : mode == OpenMode::ReplaceOwn ? FileWriter::Mode::Own
                                                                        : FileWriter::Mode::Replace;
        if (const int error = file->writer.open(hostPath, writing)) return error;
        return add(number, std::move(file));
    }
    if (faults::fails(faults::Op::Open, hostPath)) return errorFromErrno(errno, true);
    file->reading = true;
    const int fd = ::open(hostPath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errorFromErrno(errno, true);
    file->fd = fd;
    // A file that cannot be read fails here, as it always did.
    if (const int error = file->fillLine()) return error;
    return add(number, std::move(file));
}

int NumberedFiles::attach(int number, int fd, Encoding encoding) {
    auto file = std::make_unique<File>();
    file->writer.attach(fd);
    file->encoding = encoding;
    return add(number, std::move(file));
}

int NumberedFiles::printLine(int number, const QString& line) {
    const auto it = files_.find(number);
    if (it == files_.end()) return kBadFileNameOrNumber;
    File& f = *it->second;
    if (f.reading) return kBadFileNameOrNumber;
    if (f.writer.error()) return f.writer.error();
    // Encoded straight into the output buffer: no copy of the line is made.
    appendLine(f.writer.buffer(), line, f.encoding);
    return f.writer.buffered();
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

int readHead(const QByteArray& hostPath, qsizetype limit, QByteArray& head) {
    head.clear();
    if (faults::fails(faults::Op::Open, hostPath)) return errorFromErrno(errno, true);
    // Only a file is read: a pipe's writer is not waited on.
    const int fd = ::open(hostPath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errorFromErrno(errno, true);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return kPathFileAccessError;
    }
    char chunk[65536];
    int error = kOk;
    while (head.size() < limit && head.indexOf('\n') < 0 && head.indexOf('\r') < 0) {
        const ssize_t n =
            faults::fails(faults::Op::Read, hostPath)
                ? -1
                : ::read(fd, chunk, size_t(std::min<qsizetype>(sizeof chunk, limit - head.size())));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errorFromErrno(errno);
        if (n <= 0) break;
        head.append(chunk, n);
    }
    ::close(fd);
    return error;
}

int firstItem(const FileSystem& fs, const QString& dosPath, QString& item) {
    const Resolved r = fs.resolve(dosPath);
    if (r.error) return r.error;
    if (r.isFolder) return kPathFileAccessError;
    // The first line is enough; a file without line ends is read no
    // further than a megabyte.
    QByteArray head;
    if (const int error = readHead(r.host, 1 << 20, head)) return error;
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
    if (f.writer.error()) return f.writer.error();
    f.writer.buffer() += line;
    f.writer.buffer() += "\r\n";
    return f.writer.buffered();
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
    File& f = *it->second;
    int error = kOk;
    if (!f.reading) {
        error = f.writer.finish();
    } else if (faults::fails(faults::Op::Close, f.path) || ::close(f.fd) != 0) {
        error = errorFromErrno(errno);
    }
    f.fd = -1;
    files_.erase(it);
    return error;
}

void NumberedFiles::abandon(int number) {
    const auto it = files_.find(number);
    if (it == files_.end()) return;
    it->second->writer.abandon();
    files_.erase(it);
}

void NumberedFiles::closeAll() {
    while (!files_.empty()) {
        const auto first = files_.begin();
        // A replacement its command did not close is incomplete: the file it
        // would replace stays as it is.
        if (first->second->writer.replacing())
            abandon(first->first);
        else
            close(first->first);
    }
}

int deleteFile(const FileSystem& fs, const QString& dosPath) {
    const Resolved r = fs.resolve(dosPath);
    if (r.error) return r.error;
    if (r.isFolder) return kPathFileAccessError;
    if (faults::fails(faults::Op::Delete, r.host)) return errorFromErrno(errno, true);
    if (::unlink(r.host.constData()) != 0) return errorFromErrno(errno, true);
    return kOk;
}

}  // namespace dosfs
