#pragma once
// The readers of a snapshot line's values, shared by the line parsers of a
// comparison (the files' path, size and time) and of a listing (every
// value). Each reader gives why a value is refused, or null when it was
// read into `out`.

#include <QByteArray>

#include <simdjson.h>

#include <string_view>

namespace engine::json {

namespace od = simdjson::ondemand;

// The bytes of a JSON string whose text starts at p (after its quote), as
// the listing writes host bytes: \udc80 to \udcff stand for single bytes.
bool hostBytes(const char* p, const char* end, QByteArray& out);
// Whether a path names a file below the folder: parts between single
// slashes, none empty, "." or "..", and no NUL.
bool isPathBelow(const QByteArray& path);
// One of 64 bits told by a key's length and first and last bytes: keys
// given twice are looked for only among those alike.
quint64 likeness(std::string_view key);
bool isNull(od::value& v);

const char* readPath(od::value& value, const char* end, QByteArray& out);
const char* readSize(od::value& value, qint64& out);
const char* readTime(od::value& value, qint64& out);

}  // namespace engine::json
