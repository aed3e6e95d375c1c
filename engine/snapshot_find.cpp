#include "engine/snapshot_find.h"

#include "engine/line_input.h"
#include "engine/renderings.h"
#include "engine/snapshot.h"
#include "engine/snapshot_json.h"
#include "platform/dosfs/host_name.h"

#include <simdjson.h>

#include <cstring>

#include <fnmatch.h>
#include <locale.h>

namespace engine {
namespace {

namespace od = simdjson::ondemand;

constexpr qint64 kLinesBetweenAsks = 16384;
// The first line and folder lines start so; file lines never do.
constexpr std::string_view kTyped = "{\"type\":\"";

// The "]" that closes the bracket expression opened at `at`; -1 when none does.
qsizetype bracketEnd(const QByteArray& p, qsizetype at) {
    qsizetype k = at + 1;
    if (k < p.size() && (p[k] == '!' || p[k] == '^')) ++k;
    if (k < p.size() && p[k] == ']') ++k;  // a "]" first is one of the set
    while (k < p.size() && p[k] != ']') {
        if (p[k] == '[' && k + 1 < p.size() &&
            (p[k + 1] == ':' || p[k + 1] == '.' || p[k + 1] == '=')) {
            const char end[] = {p[k + 1], ']', '\0'};  // ":]" closes "[:"
            const qsizetype close = p.indexOf(end, k + 2);
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

QString foundPathText(const QString& snapshot, const FoundFile& f) {
    QString text = snapshot + QStringLiteral(": ");
    text += f.folder.isEmpty() ? QStringLiteral("?") : f.folder;
    if (!text.endsWith(u'\\')) text += u'\\';
    QString path = dosfs::decodeHostName(f.path);
    path.replace(u'/', u'\\');
    return text + path;
}

QString foundSideText(const FoundFile& f) {
    constexpr qsizetype kSideWidth = 29;  // a size of 9 digits, a blank, "yyyy/mm/dd hh:mm:ss"
    QString text;
    appendSizeText(text, f.size);
    text += u' ';
    appendDateText(text, f.mtime, false);
    if (text.size() < kSideWidth) text.resize(kSideWidth, u' ');
    return text;
}

QString foundText(const QString& snapshot, const FoundFile& f) {
    return foundSideText(f) + QStringLiteral("  ") + foundPathText(snapshot, f);
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

// One snapshot being read: its lines, and the folder its files are below.
struct SnapshotFind::Reading {
    LineInput lines{SnapshotReader::kLongestLine};
    bool folderKnown = false;
    SnapshotFile file;
    FoundFile found;

    QString fault(const QString& why, bool json = false) const {
        return QStringLiteral("line %1: %2")
            .arg(lines.number())
            .arg(json && !lines.ended() ? QStringLiteral("the last line is cut short (%1)").arg(why)
                                        : why);
    }
    // The first line: the folder the snapshot was taken of.
    bool header(QString& why) {
        SnapshotEntry entry;
        SnapshotHeader header;
        if (parseSnapshotEntry(lines.padded(), lines.length(), lines.capacity(), entry, header,
                               why) != LineFault::None)
            return false;
        found.folder = header.folder;
        found.hostFolder = header.hostFolder;
        return folderKnown = true;
    }
    void folderOfFirstFile();
};

// A snapshot without a first line: its folder told by its first file's
// line, the file's folder less the folders its path goes down.
void SnapshotFind::Reading::folderOfFirstFile() {
    folderKnown = true;
    static thread_local od::parser parser;
    const char* at = lines.padded();
    const size_t length = lines.length();
    found.folder = scannedFolder(at, length, lines.capacity());
    od::document doc;
    od::object object;
    if (parser.iterate(at, length, lines.capacity()).get(doc) || doc.get_object().get(object))
        return;
    QByteArray host, path;
    for (auto field : object) {
        std::string_view key;
        od::raw_json_string raw;
        if (field.unescaped_key().get(key)) return;
        od::value value = field.value();
        if (key == "host_folder" && !value.get_raw_json_string().get(raw))
            json::hostBytes(raw.raw(), at + length, host);
        else if (key == "path" && !value.get_raw_json_string().get(raw))
            json::hostBytes(raw.raw(), at + length, path);
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

// One line: the first, a folder's or a file's; false with a message for one
// that is wrong.
bool SnapshotFind::takeLine(Reading& r, const Found& found, QString& message) {
    const char* text = r.lines.padded();
    const size_t length = r.lines.length();
    const bool typed = std::string_view(text, length).starts_with(kTyped);
    if (!typed && !r.folderKnown) r.folderOfFirstFile();
    const bool candidate =
        !typed && (literal_.isEmpty() ||
                   ::memmem(text, length, literal_.constData(), size_t(literal_.size())));
    if (!typed && !candidate && shapedLikeObject(text, length)) return true;
    QString why;
    SnapshotLineKind kind = SnapshotLineKind::File;
    const LineFault fault = parseSnapshotLine(text, length, r.lines.capacity(), r.file, why, &kind);
    if (fault == LineFault::None && kind == SnapshotLineKind::Header) {
        if (r.lines.number() == 1 && r.header(why)) return true;
        if (why.isEmpty()) why = QStringLiteral("a snapshot's first line, not one of its files");
        return message = r.fault(why), false;
    }
    if (fault != LineFault::None) return message = r.fault(why, fault == LineFault::Json), false;
    if (kind == SnapshotLineKind::Folder || !candidate || !matches(r.file.path)) return true;
    r.found.path = r.file.path;
    r.found.size = r.file.size;
    r.found.mtime = r.file.mtime;
    r.found.line = r.lines.number();
    found(r.found);
    return true;
}

bool SnapshotFind::search(const QByteArray& hostPath, const Found& found, QString& message,
                          const KeepGoing& keepGoing) {
    message.clear();
    Reading r;
    if (!r.lines.open(hostPath, message)) return false;
    for (;;) {
        int error = 0;
        switch (r.lines.next(error)) {
            case LineInput::Read::Line:
                break;
            case LineInput::Read::End:
                return true;
            case LineInput::Read::Failed:
                return message = QString::fromLocal8Bit(std::strerror(error)).toLower(), false;
            case LineInput::Read::TooLong:
                return message =
                           r.fault(QStringLiteral("over %1 MiB long, which no snapshot line is")
                                       .arg(SnapshotReader::kLongestLine >> 20)),
                       false;
        }
        if (!takeLine(r, found, message)) return false;
        if (r.lines.number() % kLinesBetweenAsks == 0 && keepGoing && !keepGoing()) return false;
    }
}

}  // namespace engine
