// A snapshot line read whole, for a listing made from it: the first line's
// account of the scan, a folder's line, or a file's with every value the
// listing and the window's table need.

#include "engine/snapshot.h"
#include "engine/snapshot_json.h"

#include "platform/dosfs/errors.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

using namespace json;

const char* readText(od::value& value, QString& out, const char* what) {
    std::string_view text;
    if (value.get_string().get(text)) return what;
    out = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return nullptr;
}

const char* readHostText(od::value& value, const char* end, QByteArray& out, const char* what) {
    od::raw_json_string raw;
    if (value.get_raw_json_string().get(raw) || !hostBytes(raw.raw(), end, out)) return what;
    return nullptr;
}

const char* readDrives(od::value& value, QStringList& out) {
    const char* why = "\"drives\" is not a list of texts";
    od::array array;
    if (value.get_array().get(array)) return why;
    out.clear();
    for (auto item : array) {
        std::string_view text;
        if (item.get_string().get(text)) return why;
        out.append(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    return nullptr;
}

const char* readPatterns(od::value& value, const char* end, QList<QByteArray>& out) {
    const char* why = "\"exclude\" is not a list of texts";
    od::array array;
    if (value.get_array().get(array)) return why;
    out.clear();
    for (auto item : array) {
        od::raw_json_string raw;
        QByteArray pattern;
        if (item.get_raw_json_string().get(raw) || !hostBytes(raw.raw(), end, pattern)) return why;
        out.append(pattern);
    }
    return nullptr;
}

const char* readType(od::value& value, SnapshotLineKind& kind) {
    std::string_view type;
    if (!value.get_string().get(type)) {
        if (type == "folder") return kind = SnapshotLineKind::Folder, nullptr;
        if (type == "snapshot") return kind = SnapshotLineKind::Header, nullptr;
    }
    return "\"type\" is not \"folder\" or \"snapshot\"";
}

// What the first line says of the program and format that wrote it.
QString headerFault(const QString& program, const SnapshotHeader& header) {
    if (program != QLatin1String("tolan"))
        return QStringLiteral("the snapshot was written by another program (%1), not by Tolan")
            .arg(program.isEmpty() ? QStringLiteral("none named") : program);
    if (header.format > kSnapshotFormat)
        return QStringLiteral(
                   "the snapshot was written by a newer Tolan (%1, format %2); this "
                   "one reads formats up to %3")
            .arg(header.version)
            .arg(header.format)
            .arg(kSnapshotFormat);
    if (header.format < 2) return QStringLiteral("\"format\" is not a format number");
    if (header.folder.isEmpty() || header.hostFolder.isEmpty())
        return QStringLiteral("the first line does not name the folder scanned");
    return {};
}

}  // namespace

LineFault parseSnapshotEntry(const char* padded, size_t length, size_t capacity,
                             SnapshotEntry& entry, SnapshotHeader& header, QString& message) {
    static thread_local od::parser parser;
    const auto refuse = [&message](const char* why, LineFault fault = LineFault::Content) {
        message = QString::fromLatin1(why);
        return fault;
    };
    od::document doc;
    od::object object;
    if (parser.iterate(padded, length, capacity).get(doc) || doc.get_object().get(object))
        return refuse("not a JSON object", LineFault::Json);
    const char* end = padded + length;
    entry = SnapshotEntry();
    SnapshotHeader head;
    QString program;
    bool path = false, size = false, mtime = false, name = false, hostName = false;
    static thread_local std::vector<std::string_view> keys;
    keys.clear();
    quint64 like = 0;
    for (auto field : object) {
        std::string_view key;
        if (field.unescaped_key().get(key)) return refuse("not valid JSON", LineFault::Json);
        const quint64 bit = likeness(key);
        if ((like & bit) && std::find(keys.begin(), keys.end(), key) != keys.end()) {
            message = QStringLiteral("the key \"%1\" is given twice")
                          .arg(QString::fromUtf8(key.data(), qsizetype(key.size())));
            return LineFault::Content;
        }
        like |= bit;
        keys.push_back(key);
        od::value value = field.value();
        const char* why = nullptr;
        int64_t n = 0;
        bool flag = false;
        if (key == "type") {
            why = readType(value, entry.kind);
        } else if (key == "path") {
            path = true;
            why = readHostText(value, end, entry.file.path,
                               "\"path\" has an escape that is not valid");
        } else if (key == "size") {
            size = true;
            why = readSize(value, entry.file.size);
        } else if (key == "mtime") {
            mtime = true;
            why = readTime(value, entry.file.mtime);
        } else if (key == "folder") {
            why = readText(value, entry.folder, "\"folder\" is not a text");
        } else if (key == "host_folder") {
            why = readHostText(value, end, entry.hostFolder, "\"host_folder\" is not valid");
        } else if (key == "name") {
            name = true;
            why = readText(value, entry.name, "\"name\" is not a text");
        } else if (key == "host_name") {
            hostName = true;
            why = readHostText(value, end, entry.hostName, "\"host_name\" is not valid");
        } else if (key == "blocks") {
            if (!isNull(value) && (value.get_int64().get(n) || n < 0))
                why = "\"blocks\" is not a whole number";
            else if (!isNull(value))
                entry.blocks = n;
        } else if (key == "read_only") {
            why = value.get_bool().get(flag) ? "\"read_only\" is not true or false" : nullptr;
            entry.readOnly = flag;
        } else if (key == "error") {
            if (!isNull(value) && (value.get_int64().get(n) || n <= 0 || n > 9999))
                why = "\"error\" is not an error number";
            else if (!isNull(value))
                entry.error = int(n);
        } else if (key == "program") {
            why = readText(value, program, "\"program\" is not a text");
        } else if (key == "format") {
            why = value.get_int64().get(n) || n < 1 ? "\"format\" is not a format number" : nullptr;
            head.format = int(std::min<int64_t>(n, 1 << 30));
        } else if (key == "version") {
            why = readText(value, head.version, "\"version\" is not a text");
        } else if (key == "drives") {
            why = readDrives(value, head.drives);
        } else if (key == "exclude") {
            why = readPatterns(value, end, head.exclude);
        } else if (key == "time") {
            why = readTime(value, head.time);
            if (why) why = "\"time\" is not a time such as \"2024-01-05T05:07:09+09:00\"";
        }
        if (why) return refuse(why);
    }
    const char* rest = nullptr;
    if (!doc.current_location().get(rest))
        return refuse("not valid JSON (more follows the object)", LineFault::Json);
    switch (entry.kind) {
        case SnapshotLineKind::Header:
            head.folder = entry.folder;
            head.hostFolder = entry.hostFolder;
            message = headerFault(program, head);
            if (!message.isEmpty()) return LineFault::Content;
            header = head;
            return LineFault::None;
        case SnapshotLineKind::Folder:
            if (!path) return refuse("\"path\" is missing");
            if (const char* why = entry.file.path.isEmpty() || isPathBelow(entry.file.path)
                                      ? nullptr
                                      : "\"path\" is not a folder's path below the folder scanned")
                return refuse(why);
            if (entry.folder.isEmpty()) return refuse("\"folder\" is missing");
            return LineFault::None;
        case SnapshotLineKind::File:
            break;
    }
    if (!path) return refuse("\"path\" is missing");
    if (!isPathBelow(entry.file.path))
        return refuse(
            "\"path\" is not a path below the folder (\"a/b.txt\", without empty, "
            "\".\" or \"..\" parts)");
    if (!size) return refuse("\"size\" is missing");
    if (!mtime) return refuse("\"mtime\" is missing");
    if (entry.folder.isEmpty()) return refuse("\"folder\" is missing");
    if (!name) return refuse("\"name\" is missing");
    if (!hostName) entry.hostName = entry.file.path.mid(entry.file.path.lastIndexOf('/') + 1);
    return LineFault::None;
}

}  // namespace engine
