#pragma once
// The extension box's text as the scan reads it: "*" for every file, or the
// up to three characters a file's extension must hold, in any case (each
// character by its own simple mapping, as names are ordered).

#include "platform/dosfs/name_order.h"

#include <QString>

namespace engine {

class ExtensionFilter {
  public:
    static inline const QString kEveryFile = QStringLiteral("*");

    // A typed text is a filter: the box's text goes to the scan as it stands.
    ExtensionFilter(const QString& typed = kEveryFile)  // NOLINT(google-explicit-constructor)
        : text_(typed), upper_(dosfs::simpleUpper(typed)) {}

    const QString& text() const { return text_; }
    // Exactly "*": no file is left out and every folder shows its header and
    // footer.
    bool everyFile() const { return text_ == kEveryFile; }
    // The grand total reads the text without its blanks: " * " counts every
    // file there, though files are matched against it.
    bool everyFileTrimmed() const;

    // The three characters after the first "." of a full path, or of its
    // last five characters (so "x.tar.txt" matches "txt").
    bool matchesPath(const QString& fullPath) const;
    // The same on a short name field, without the blanks that pad it, so
    // "py" matches "a.py".
    bool matchesField(QStringView field) const;

  private:
    QString text_;
    QString upper_;
};

}  // namespace engine
