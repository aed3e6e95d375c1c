#pragma once
// The composition of every listing line. Column arithmetic is in characters;
// the extra of a text (its double-width characters) is taken off the target
// width so that the padded text fills the target in display columns.

#include "engine/class1.h"
#include "engine/renderings.h"

#include <QString>

namespace engine {

// The main window's width as designed, in twips: the columns have their
// design widths there.
constexpr int kDesignWindowWidth = 12045;

struct LayoutWidths {
    int baseWidth = 57;  // unadjusted
    int nameColumnWidth = 87;
    int nameFieldWidth = 57;
    int footerIndent = 67;
};

// Fixed once per scan from the main window's width in twips.
LayoutWidths layoutWidths(int windowWidth, bool listType2, bool folderMode);

QString bannerLine(const LayoutWidths& w, const Today& now, const QString& typeText,
                   const QString& extText);

// What a text's display width tells the layout: its extra, and whether it
// holds a character of two units (outside the basic plane). Both add up
// over pieces of a text.
struct TextWidth {
    int extra = 0;
    bool twoUnit = false;
    TextWidth operator+(TextWidth o) const { return {extra + o.extra, twoUnit || o.twoUnit}; }
};
TextWidth measureText(const Class1& c1, const QString& text);

// The full-path field of output type 1, nameColumnWidth columns wide,
// appended to out; the path's width is measured beforehand ({} when not
// measured).
void appendNameField(QString& out, const Class1& c1, const QString& path, TextWidth measured,
                     const LayoutWidths& w);
// The bare-name field of output type 2, cut without a marker.
void appendShortNameField(QString& out, const Class1& c1, const QString& name, bool measureExtra,
                          const LayoutWidths& w);

// A folder footer in its three pieces: indent, count and kilobytes.
struct Footer {
    int indent = 0;
    QString count;   // count text(5) + " Files"
    QString kbPart;  // "< 12.34 KB >", right-aligned in 20 columns (fewer when filtered)
    QString line() const { return spaces(indent) + count + kbPart; }
};
Footer folderFooter(const LayoutWidths& w, qint64 files, qint64 bytes, bool filtered);

// A footer of folder size mode with the folder's name laid over its start.
QString footerWithName(const Class1& c1, const Footer& footer, const QString& name,
                       const LayoutWidths& w);

QString totalLine(const LayoutWidths& w, qint64 files, const QString& kb);

// Shortens a long name to `width` characters less its extra; suffix becomes
// " .." when that cut something off, two spaces otherwise.
void FitNameColumn(const Class1& c1, QString& name, int& extra, int width, QString& suffix);

}  // namespace engine
