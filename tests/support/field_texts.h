#pragma once
// The fields the engine appends to a line, as texts of their own.

#include "engine/line_layout.h"
#include "engine/renderings.h"

namespace engine {

inline QString sizeText(qint64 size) {
    QString out;
    appendSizeText(out, size);
    return out;
}

inline QString dateText(qint64 mtime) {
    QString out;
    appendDateText(out, mtime, false);
    return out;
}

inline QString nameField(const Class1& c1, const QString& path, bool measureExtra,
                         const LayoutWidths& w) {
    QString out;
    appendNameField(out, c1, path, measureExtra ? measureText(c1, path) : TextWidth{}, w);
    return out;
}

inline QString shortNameField(const Class1& c1, const QString& name, bool measureExtra,
                              const LayoutWidths& w) {
    QString out;
    appendShortNameField(out, c1, name, measureExtra, w);
    return out;
}

}  // namespace engine
