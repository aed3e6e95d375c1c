#include "engine/line_layout.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

// The longest start of text that fits `columns` display columns, padded with
// spaces to exactly that many. For a text that fits this is the text padded
// by its extra; a longer one is cut between characters, so the column stays
// aligned in the file even when the cut drops double-width characters.
QString fitColumns(const Class1& c1, const QString& text, int columns) {
    if (columns <= 0) return QString();
    const int width = c1.UniLenB(text);
    if (width <= columns) return text + spaces(columns - width);
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString ch = text.mid(i, n);
        const int w = c1.UniLenB(ch);
        if (used + w > columns) break;
        out += ch;
        used += w;
        i += n;
    }
    return out + spaces(columns - used);
}

// A character outside the basic plane is two units but one column, so next
// to a double-width one it hides in an extra of 0: such texts are measured.
bool hasTwoUnitCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

// The name field's width in the window as designed; a narrower window keeps
// it, a wider one (from kScaledFrom on) adds columns for each twip.
constexpr int kDesignBaseWidth = 57;
constexpr int kScaledFrom = 12000;
constexpr double kColumnsPerTwip = 0.0112;
// Output type 1: the name column holds the field and the size; a footer's
// count stands under the sizes.
constexpr int kSizeRoom = 30;
constexpr int kFooterPastField = 10;
// Output type 2 in a file list: a wider name field, and footers under the
// sizes that follow it.
constexpr int kShortFieldGain = 7;
constexpr int kShortFooterBack = 13;

}  // namespace

LayoutWidths layoutWidths(int windowWidth, bool listType2, bool folderMode) {
    LayoutWidths w;
    w.baseWidth = kDesignBaseWidth;
    if (windowWidth >= kScaledFrom)
        w.baseWidth = static_cast<int>(
            std::floor((windowWidth - kDesignWindowWidth) * kColumnsPerTwip + kDesignBaseWidth));
    w.nameColumnWidth = w.baseWidth + kSizeRoom;
    w.footerIndent = w.baseWidth + kFooterPastField;
    w.nameFieldWidth = w.baseWidth;
    if (listType2 && !folderMode) {
        w.footerIndent = w.baseWidth - kShortFooterBack;
        w.nameFieldWidth = w.baseWidth + kShortFieldGain;
    }
    return w;
}

QString bannerLine(const LayoutWidths& w, const Today& now, const QString& typeText,
                   const QString& extText) {
    const QString when = QStringLiteral("<< ") + now.date + QStringLiteral("   ") + now.time +
                         QStringLiteral(" >>") + spaces(49);
    const QString what = spaces(w.nameFieldWidth - 22) + QStringLiteral("----<< ") + typeText +
                         QStringLiteral(" ／ *.") + extText + QStringLiteral(" >>----");
    return left(when, w.baseWidth - 13) + right(what, 51);
}

namespace {

// "  " and text, cut or padded with spaces to exactly `length` characters.
void appendPadded(QString& out, QStringView text, qsizetype length) {
    const qsizetype end = out.size() + std::max<qsizetype>(length, 0);
    out += u"  ";
    out += text;
    out.resize(end, u' ');
}

// The full-path field counts characters as the file holds them: a character
// outside the basic plane (two code units) is one, like its "?".
qsizetype characters(QStringView text) {
    qsizetype n = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) --n, ++i;
    return n;
}

// The code units of the first `count` characters of text (all of it when
// it has fewer).
qsizetype unitsOf(QStringView text, qsizetype count) {
    qsizetype i = 0;
    for (; i < text.size() && count > 0; ++i, --count)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    return i;
}

// out from `start` cut or padded with spaces to exactly `count` characters;
// without two-unit characters in it, that many code units.
void resizeCharacters(QString& out, qsizetype start, qsizetype count, bool twoUnit) {
    if (!twoUnit) return out.resize(start + count, u' ');
    const QStringView tail = QStringView(out).mid(start);
    const qsizetype have = characters(tail);
    if (have >= count)
        out.truncate(start + unitsOf(tail, count));
    else
        out.resize(out.size() + count - have, u' ');
}

}  // namespace

TextWidth measureText(const Class1& c1, const QString& text) {
    return {c1.UniLenB(text) - static_cast<int>(characters(text)), hasTwoUnitCharacter(text)};
}

void appendNameField(QString& out, const Class1& c1, const QString& path, TextWidth measured,
                     const LayoutWidths& w) {
    const int fit = w.nameFieldWidth + 23;
    int extra = measured.extra;
    const bool plain = extra == 0 && !measured.twoUnit;
    const qsizetype start = out.size();
    // A path that fits is the field's start and spaces fill the rest.
    const bool twoUnit = measured.twoUnit;
    const qsizetype pathCharacters = twoUnit ? characters(path) : path.size();
    if (plain ? path.size() <= fit : pathCharacters + extra < fit) {
        if (plain) return appendPadded(out, path, w.nameColumnWidth - extra);
        out += u"  ";
        out += path;
        return resizeCharacters(out, start, std::max(w.nameColumnWidth - extra, 0), twoUnit);
    }
    // Cut: the path's start (padded when the cut falls past its end) and
    // ".." when something of it was left out.
    const qsizetype coreLength = std::max(plain ? fit : fit - extra, 0);
    out += u"  ";
    out += QStringView(path).left(twoUnit ? unitsOf(path, coreLength) : coreLength);
    resizeCharacters(out, start + 2, coreLength, twoUnit);
    const QStringView core = QStringView(out).mid(start + 2);
    if (!plain)
        extra = c1.UniLenB(core) - static_cast<int>(twoUnit ? characters(core) : core.size());
    const bool cut = plain || trimSpaces(core).size() < trimSpaces(QStringView(path)).size();
    out += cut ? u".." : u"  ";
    resizeCharacters(out, start, std::max(w.nameColumnWidth - extra, 0), twoUnit);
}

void appendShortNameField(QString& out, const Class1& c1, const QString& name, bool measureExtra,
                          const LayoutWidths& w) {
    if (!measureExtra) return appendPadded(out, name, w.nameFieldWidth);
    const int width = 2 + c1.UniLenB(name);
    if (width <= w.nameFieldWidth)
        return appendPadded(out, name, 2 + name.size() + w.nameFieldWidth - width);
    out += fitColumns(c1, QStringLiteral("  ") + name, w.nameFieldWidth);
}

Footer folderFooter(const LayoutWidths& w, qint64 files, qint64 bytes, bool filtered) {
    Footer f;
    f.indent = w.footerIndent;
    f.count = countText(files, 5) + QStringLiteral(" Files");
    f.kbPart = right(spaces(filtered ? 10 : 24) + QStringLiteral("< ") +
                         kbText(bytes, kFolderDigits) + QStringLiteral(" KB >"),
                     20);
    return f;
}

QString footerWithName(const Class1& c1, const Footer& footer, const QString& name,
                       const LayoutWidths& w) {
    QString line = footer.line();
    int extra = c1.extra(name);
    if (extra == 0 && !hasTwoUnitCharacter(name)) {
        // The name is written over the first characters of the line; one
        // that fills its field exactly loses nothing and gets no "..".
        const qsizetype fit = w.nameFieldWidth + 6;
        const QString over = name.size() <= fit ? name : name.left(fit) + QStringLiteral("..");
        line.replace(0, std::min(over.size(), line.size()), over.left(line.size()));
        return line;
    }
    QString fitted = name;
    QString suffix;
    FitNameColumn(c1, fitted, extra, w.footerIndent, suffix);
    // FitNameColumn judges the cut against the whole indent, but the suffix
    // takes its own columns of it: a name wider than the columns left is cut
    // by the fit below, and says so. Either way the count keeps its column.
    QStringView shown(fitted);
    while (shown.endsWith(u' ')) shown.chop(1);
    if (suffix == QStringLiteral("  ") &&
        c1.UniLenB(shown) > w.footerIndent - static_cast<int>(suffix.size()))
        suffix = QStringLiteral(" ..");
    return fitColumns(c1, fitted, w.footerIndent - static_cast<int>(suffix.size())) + suffix +
           footer.count + footer.kbPart;
}

QString totalLine(const LayoutWidths& w, qint64 files, const QString& kb) {
    return spaces(w.footerIndent - 13) + QStringLiteral("    Total   ") + countText(files, 6) +
           QStringLiteral(" Files") +
           right(spaces(24) + QStringLiteral("[ ") + kb + QStringLiteral(" KB ]"), 20);
}

void FitNameColumn(const Class1& c1, QString& name, int& extra, int width, QString& suffix) {
    suffix = QStringLiteral("  ");
    if (name.size() + extra < 40) return;
    const QString old = name;
    name = left(name + spaces(width), width - extra);
    if (trimSpaces(old).size() != trimSpaces(name).size()) suffix = QStringLiteral(" ..");
    extra = c1.extra(name);
}

}  // namespace engine
