#include "engine/snapshot_find.h"

#include "engine/renderings.h"
#include "engine/snapshot.h"
#include "platform/dosfs/host_name.h"

#include <simdjson.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <fnmatch.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {
namespace {

namespace od = simdjson::ondemand;

// Room for the longest line a snapshot may hold, and as much again.
constexpr size_t kBufferSize = size_t(2) * SnapshotReader::kLongestLine;
constexpr qint64 kLinesBetweenAsks = 16384;
constexpr int kFormat = 2;
// Header and folder lines start so; file lines never do.
constexpr std::string_view kTyped = "{\"type\":\"";

// The "]" that closes the bracket expression opened at `at`; -1 when none does.
qsizetype bracketEnd(const QByteArray& p, qsizetype at) {
    qsizetype k = at + 1;
    if (k < p.size() && (p[k] == '!' || p[k] == '^')) ++k;
    if (k < p.size() && p[k] == ']') ++k;  // a "]" first is one of the set
    while (k < p.size() && p[k] != ']') {
        if (p[k] == '[' && k + 1 < p.size() &&
            (p[k + 1] == ':' || p[k + 1] == '.' || p[k + 1] == '=')) {
            const qsizetype close = p.indexOf(QByteArray{p[k + 1], ']'}, k + 2);
            if (close < 0) return -1;
            k = close + 2;
        } else {
            k += p[k] == '\\' ? 2 : 1;
        }
    }
    return k < p.size() ? k : -1;
}

// The length of what stands at p as the same bytes in a snapshot's line:
// printable ASCII but the quote and the backslash, which JSON escapes, or a
// whole UTF-8 character; 0 for anything else.
int rawLength(const unsigned char* p, const unsigned char* end) {
    if (*p >= 0x20 && *p < 0x7F) return *p == '"' || *p == '\\' ? 0 : 1;
    char32_t cp = 0;
    const int n = dosfs::utf8Sequence(p, end, cp);
    return n > 1 ? n : 0;
}

// The longest run of the pattern's plain characters that a line writes as
// they are: the line of every file that matches holds it.
QByteArray longestLiteral(const QByteArray& p) {
    QByteArray run, best;
    const auto endRun = [&] {
        if (run.size() > best.size()) best = run;
        run.clear();
    };
    const auto* bytes = reinterpret_cast<const unsigned char*>(p.constData());
    for (qsizetype i = 0; i < p.size();) {
        const char c = p[i];
        if (c == '*' || c == '?' || c == '[') {
            endRun();
            i = c == '[' ? bracketEnd(p, i) + 1 : i + 1;
            continue;
        }
        if (c == '\\' && i + 1 < p.size()) ++i;
        const int n = rawLength(bytes + i, bytes + p.size());
        if (n == 0) endRun();
        run.append(p.constData() + i, n);
        i += qMax(n, 1);
    }
    endRun();
    return best;
}

// A line that looks like one JSON object; one that does not is parsed to
// say what is wrong with it.
bool shapedLikeObject(const char* text, size_t length) {
    return length >= 2 && text[0] == '{' && text[length - 1] == '}';
}

}  // namespace

QString foundText(const QString& snapshot, const FoundFile& f) {
    constexpr qsizetype kSideWidth = 29;  // a size of 9 digits, a blank, "yyyy/mm/dd hh:mm:ss"
    QString line;
    appendSizeText(line, f.size);
    line += u' ';
    appendDateText(line, f.mtime, false);
    if (line.size() < kSideWidth) line.resize(kSideWidth, u' ');
    line += QStringLiteral("  ") + snapshot + QStringLiteral(": ");
    line += f.folder.isEmpty() ? QStringLiteral("?") : f.folder;
    if (!line.endsWith(u'\\')) line += u'\\';
    QString path = dosfs::decodeHostName(f.path);
    path.replace(u'/', u'\\');
    return line + path;
}

QString patternTrouble(const QByteArray& pattern) {
    if (pattern.isEmpty()) return QStringLiteral("the pattern is empty");
    if (pattern.contains('\0')) return QStringLiteral("the pattern holds a NUL character");
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            ++i;
        } else if (pattern[i] == '[') {
            const qsizetype end = bracketEnd(pattern, i);
            if (end < 0)
                return QStringLiteral(
                           "the \"[\" at character %1 of the pattern is never closed "
                           "by \"]\" (\"\\[\" finds a \"[\")")
                    .arg(i + 1);
            i = end;
        }
    }
    return {};
}

// One snapshot being read: its descriptor, the buffer it is read through,
// and the folder its files are below.
struct SnapshotFind::Reading {
    int fd = -1;
    std::vector<char> buffer = std::vector<char>(kBufferSize);
    std::string padded;  // a line parsed, with simdjson's room after it
    qint64 number = 0;
    bool ended = true;  // the line had its line end
    bool folderKnown = false;
    SnapshotFile file;
    FoundFile found;

    ~Reading() {
        if (fd >= 0) ::close(fd);
    }
    // The current line copied for simdjson.
    const char* pad(const char* text, size_t length) {
        padded.assign(text, length);
        padded.resize(length + simdjson::SIMDJSON_PADDING, ' ');
        return padded.data();
    }
    QString fault(const QString& why, bool json = false) const {
        return QStringLiteral("line %1: %2")
            .arg(number)
            .arg(json && !ended ? QStringLiteral("the last line is cut short (%1)").arg(why) : why);
    }
    bool header(const char* text, size_t length, QString& message);
    void folderOfFirstFile(const char* text, size_t length);
};

// The header: which program wrote the snapshot, in which format, of which folder.
bool SnapshotFind::Reading::header(const char* text, size_t length, QString& message) {
    static thread_local od::parser parser;
    const char* at = pad(text, length);
    od::document doc;
    od::object object;
    if (parser.iterate(at, length, padded.size()).get(doc) || doc.get_object().get(object))
        return message = fault(QStringLiteral("not a JSON object"), true), false;
    std::string_view program;
    int64_t format = 0;
    bool hasFolder = false, hasHost = false;
    for (auto field : object) {
        std::string_view key, text;
        od::raw_json_string raw;
        if (field.unescaped_key().get(key)) return message = fault("not valid JSON", true), false;
        od::value value = field.value();
        if (key == "program" && !value.get_string().get(text)) {
            program = text;
        } else if (key == "format") {
            if (value.get_int64().get(format)) format = 0;
        } else if (key == "folder" && !value.get_string().get(text)) {
            found.folder = QString::fromUtf8(text.data(), qsizetype(text.size()));
            hasFolder = true;
        } else if (key == "host_folder" && !value.get_raw_json_string().get(raw)) {
            hasHost = jsonHostBytes(raw.raw(), at + length, found.hostFolder);
        }
    }
    if (program != "tolan")
        return message =
                   fault(QStringLiteral("a snapshot written by \"%1\", not by tolan")
                             .arg(QString::fromUtf8(program.data(), qsizetype(program.size())))),
               false;
    if (format > kFormat)
        return message = fault(QStringLiteral("a snapshot of format %1, newer than this "
                                              "tolan-list reads (%2): read it with a newer Tolan")
                                   .arg(format)
                                   .arg(kFormat)),
               false;
    if (format != kFormat)
        return message = fault(QStringLiteral("\"format\" is not %1").arg(kFormat)), false;
    if (!hasFolder || !hasHost)
        return message = fault(QStringLiteral("\"folder\" or \"host_folder\" is missing")), false;
    folderKnown = true;
    return true;
}

// A snapshot without a header: its folder told by its first file's line,
// the file's folder less the folders its path goes down.
void SnapshotFind::Reading::folderOfFirstFile(const char* text, size_t length) {
    folderKnown = true;
    static thread_local od::parser parser;
    const char* at = pad(text, length);
    found.folder = scannedFolder(at, length, padded.size());
    od::document doc;
    od::object object;
    if (parser.iterate(at, length, padded.size()).get(doc) || doc.get_object().get(object)) return;
    QByteArray host, path;
    for (auto field : object) {
        std::string_view key;
        od::raw_json_string raw;
        if (field.unescaped_key().get(key)) return;
        od::value value = field.value();
        if (key == "host_folder" && !value.get_raw_json_string().get(raw))
            jsonHostBytes(raw.raw(), at + length, host);
        else if (key == "path" && !value.get_raw_json_string().get(raw))
            jsonHostBytes(raw.raw(), at + length, path);
    }
    for (qsizetype n = path.count('/'); n > 0 && !host.isEmpty(); --n)
        host.truncate(host.lastIndexOf('/'));
    found.hostFolder = host.isEmpty() && !path.isEmpty() ? QByteArray("/") : host;
}

SnapshotFind::SnapshotFind(QByteArray pattern)
    : pattern_(std::move(pattern)),
      literal_(longestLiteral(pattern_)),
      wholePath_(pattern_.contains('/')) {}

SnapshotFind::~SnapshotFind() = default;

// "?" is one character of UTF-8 (a byte that is not UTF-8 counts as one),
// whatever the locale the program runs in.
bool SnapshotFind::matches(const QByteArray& path) const {
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    const locale_t before = utf8 ? ::uselocale(utf8) : locale_t(0);
    const bool match =
        wholePath_
            ? ::fnmatch(pattern_.constData(), path.constData(), FNM_PATHNAME) == 0
            : ::fnmatch(pattern_.constData(), path.constData() + path.lastIndexOf('/') + 1, 0) == 0;
    if (utf8) ::uselocale(before);
    return match;
}

// One line: a header, a folder's line or a file's; false with a message
// for one that is wrong.
bool SnapshotFind::takeLine(Reading& r, const char* text, size_t length, const Found& found,
                            QString& message) {
    if (length > 0 && text[length - 1] == '\r') --length;
    const std::string_view line(text, length);
    if (line.starts_with(kTyped)) {
        const std::string_view type =
            line.substr(kTyped.size(), line.find('"', kTyped.size()) - kTyped.size());
        if (type == "snapshot") {
            if (r.number != 1)
                return message = r.fault(
                           "a header line (\"type\":\"snapshot\") after the first "
                           "line"),
                       false;
            return r.header(text, length, message);
        }
        if (type != "folder")
            return message =
                       r.fault(QStringLiteral("\"type\" is \"%1\", neither \"snapshot\" "
                                              "nor \"folder\"")
                                   .arg(QString::fromUtf8(type.data(), qsizetype(type.size())))),
                   false;
        if (shapedLikeObject(text, length)) return true;
        return message = r.fault(QStringLiteral("not a JSON object"), true), false;
    }
    if (!r.folderKnown) r.folderOfFirstFile(text, length);
    const bool candidate =
        literal_.isEmpty() || ::memmem(text, length, literal_.constData(), size_t(literal_.size()));
    if (!candidate && shapedLikeObject(text, length)) return true;
    QString why;
    const char* padded = r.pad(text, length);
    const LineFault fault = parseSnapshotLine(padded, length, r.padded.size(), r.file, why);
    if (fault != LineFault::None) return message = r.fault(why, fault == LineFault::Json), false;
    if (!candidate || !matches(r.file.path)) return true;
    r.found.path = r.file.path;
    r.found.size = r.file.size;
    r.found.mtime = r.file.mtime;
    r.found.line = r.number;
    found(r.found);
    return true;
}

bool SnapshotFind::search(const QByteArray& hostPath, const Found& found, QString& message,
                          const KeepGoing& keepGoing) {
    message.clear();
    Reading r;
    r.fd = ::open(hostPath.constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (r.fd < 0 || ::fstat(r.fd, &st) != 0)
        return message = errno == ENOENT ? QStringLiteral("no such file")
                                         : QString::fromLocal8Bit(std::strerror(errno)).toLower(),
               false;
    if (S_ISDIR(st.st_mode))
        return message = QStringLiteral("it is a folder, not a snapshot"), false;
    char* buffer = r.buffer.data();
    size_t at = 0, end = 0;
    bool eof = false;
    const auto tooLong = [&] {
        message = r.fault(QStringLiteral("over %1 MiB long, which no snapshot line is")
                              .arg(SnapshotReader::kLongestLine >> 20));
        return false;
    };
    for (;;) {
        const char* start = buffer + at;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end - at));
        if (!lf && !eof) {
            if (end - at > size_t(SnapshotReader::kLongestLine)) return ++r.number, tooLong();
            // The rest of the line to the front, and more read after it.
            std::memmove(buffer, start, end - at);
            end -= at;
            at = 0;
            const ssize_t n = ::read(r.fd, buffer + end, r.buffer.size() - end);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0)
                return message = QString::fromLocal8Bit(std::strerror(errno)).toLower(), false;
            eof = n == 0;
            end += size_t(n);
            continue;
        }
        if (!lf && at == end) return true;
        const size_t length = lf ? size_t(lf - start) : end - at;
        ++r.number;
        r.ended = lf != nullptr;
        if (length > size_t(SnapshotReader::kLongestLine)) return tooLong();
        if (!takeLine(r, start, length, found, message)) return false;
        at += length + (lf ? 1 : 0);
        if (r.number % kLinesBetweenAsks == 0 && keepGoing && !keepGoing()) return false;
    }
}

}  // namespace engine
