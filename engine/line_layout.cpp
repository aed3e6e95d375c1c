#include "engine/line_layout.h"

#include <cmath>

namespace engine {

LayoutWidths layoutWidths(int windowWidth, bool listType2, bool folderMode) {
    LayoutWidths w;
    w.baseWidth = 57;
    if (windowWidth >= 12000)
        w.baseWidth = static_cast<int>(std::floor((windowWidth - 12045) * 0.0112 + 57));
    w.nameColumnWidth = w.baseWidth + 30;
    w.footerIndent = w.baseWidth + 10;
    w.nameFieldWidth = w.baseWidth;
    if (listType2 && !folderMode) {
        w.footerIndent = w.baseWidth - 13;
        w.nameFieldWidth = w.baseWidth + 7;
    }
    return w;
}

QString bannerLine(const LayoutWidths& w, const Today& now, const QString& typeText,
                   const QString& extText) {
    const QString when = QStringLiteral("<< ") + now.date + QStringLiteral("   ") + now.time + QStringLiteral(" >>") + spaces(49);
    const QString what = spaces(w.nameFieldWidth - 22) + QStringLiteral("----<< ") + typeText + QStringLiteral(" ／ *.") +
                         extText + QStringLiteral(" >>----");
    return left(when, w.baseWidth - 13) + right(what, 51);
}

QString nameField(const Class1& c1, const QString& path, bool measureExtra, const LayoutWidths& w) {
    const int fit = w.nameFieldWidth + 23;
    int extra = measureExtra ? c1.extra(path) : 0;
    QString core;
    QString suffix = QStringLiteral("  ");
    if (extra == 0) {
        if (path.size() <= fit) {
            core = path + spaces(fit - path.size());
        } else {
            core = path.left(fit);
            suffix = QStringLiteral("..");
        }
    } else if (path.size() + extra >= fit) {
        core = left(path + spaces(w.nameColumnWidth), fit - extra);
        if (trimSpaces(core).size() < trimSpaces(path).size()) suffix = QStringLiteral("..");
        extra = c1.extra(core);
    } else {
        core = path;
    }
    return left(QStringLiteral("  ") + core + suffix + spaces(w.nameColumnWidth), w.nameColumnWidth - extra);
}

QString shortNameField(const Class1& c1, const QString& name, bool measureExtra,
                       const LayoutWidths& w) {
    const int extra = measureExtra ? c1.extra(name) : 0;
    return left(QStringLiteral("  ") + name + spaces(w.nameFieldWidth), w.nameFieldWidth - extra);
}

Footer folderFooter(const LayoutWidths& w, qint64 files, qint64 bytes, bool filtered) {
    Footer f;
    f.indent = w.footerIndent;
    f.count = countText(files, 5) + QStringLiteral(" Files");
    f.kbPart = right(spaces(filtered ? 10 : 24) + QStringLiteral("< ") + kbText(bytes, kFolderDigits) + QStringLiteral(" KB >"), 20);
    return f;
}

QString footerWithName(const Class1& c1, const Footer& footer, const QString& name,
                       const LayoutWidths& w) {
    QString line = footer.line();
    int extra = c1.extra(name);
    if (extra == 0) {
        // The name is written over the first characters of the line.
        const qsizetype fit = w.nameFieldWidth + 6;
        const QString over = name.size() < fit ? name : name.left(fit) + QStringLiteral("..");
        line.replace(0, std::min(over.size(), line.size()), over.left(line.size()));
        return line;
    }
    QString fitted = name;
    QString suffix;
    FitNameColumn(c1, fitted, extra, w.footerIndent, suffix);
    return left(fitted + spaces(w.footerIndent), w.footerIndent - extra - 2) + suffix +
           footer.count + footer.kbPart;
}

QString totalLine(const LayoutWidths& w, qint64 files, const QString& kb) {
    return spaces(w.footerIndent - 13) + QStringLiteral("    Total   ") + countText(files, 6) + QStringLiteral(" Files") +
           right(spaces(24) + QStringLiteral("[ ") + kb + QStringLiteral(" KB ]"), 20);
}

void FitNameColumn(const Class1& c1, QString& name, int& extra, int width, QString& suffix) {
    suffix = QStringLiteral("  ");
    if (name.size() + extra < 40) return;
    const QString old = name;
    name = left(name + spaces(width), width - extra);
    if (trimSpaces(old).size() != trimSpaces(name).size()) suffix = QStringLiteral(" ..");
    extra = c1.extra(name) ;
}

}  // namespace engine
