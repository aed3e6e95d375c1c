#pragma once
// What poppler's tools read from a PDF: its text as pdftotext -layout lays
// it out, its page count, its fonts.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The text of one page (from 1), or of all, with a form feed after each page.
inline QString pdfText(const QString& pdf, int page = 0) {
    QStringList args{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << pdf << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// pdffonts' rows below its heading, as it prints them.
inline QStringList pdfFonts(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdffonts"), {pdf});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
}

// A line with its blanks as one: pdftotext gives back the words of a line
// and their order, and lays columns out by its own reckoning.
inline QString words(const QString& line) {
    return line.simplified();
}

// The pages' lines: heading, body and page number of each, blank lines left out.
inline QList<QStringList> pdfPageLines(const QString& text) {
    QList<QStringList> pages;
    QStringList pageTexts = text.split(u'\f');
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (const QString& line : page.split(u'\n'))
            if (!line.trimmed().isEmpty()) lines.append(words(line));
        pages.append(lines);
    }
    return pages;
}
