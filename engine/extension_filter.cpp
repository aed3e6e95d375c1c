#include "engine/extension_filter.h"

#include "engine/renderings.h"

namespace engine {
namespace {

// A text without a "." has no extension and matches no filter.
bool extensionMatches(QStringView text, const QString& upper) {
    const qsizetype dot = text.indexOf(u'.');
    return dot >= 0 && dosfs::simpleUpper(text.mid(dot + 1, 3).toString()) == upper;
}

}  // namespace

bool ExtensionFilter::everyFileTrimmed() const {
    return trimSpaces(QStringView(text_)) == kEveryFile;
}

bool ExtensionFilter::matchesPath(const QString& fullPath) const {
    return extensionMatches(fullPath, upper_) || extensionMatches(right(fullPath, 5), upper_);
}

bool ExtensionFilter::matchesField(QStringView field) const {
    const qsizetype dot = field.indexOf(u'.');
    if (dot < 0) return false;
    QStringView ext = field.mid(dot + 1, 3);
    while (ext.endsWith(u' ')) ext.chop(1);
    return dosfs::simpleUpper(ext.toString()) == upper_;
}

}  // namespace engine
