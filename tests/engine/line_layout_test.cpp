#include "engine/line_layout.h"
#include "tests/support/field_texts.h"

#include "platform/codepage/cp932.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

QString sp(int n) {
    return QString(n, u' ');
}

const Today kToday{QStringLiteral("12-08-2026"), QStringLiteral("14:03:04")};

}  // namespace

TEST(LayoutWidths, FollowTheWindowWidthAndTheOutputType) {
    struct Case {
        int window;
        bool type2;
        bool folders;
        int base, column, field, indent;
    };
    const Case cases[] = {
        {12045, false, false, 57, 87, 57, 67},    {12045, true, false, 57, 87, 64, 44},
        {12045, true, true, 57, 87, 57, 67},      {11999, false, false, 57, 87, 57, 67},
        {12000, false, false, 56, 86, 56, 66},    {13295, false, false, 71, 101, 71, 81},
        {40000, true, false, 370, 400, 377, 357},
    };
    for (const Case& c : cases) {
        const LayoutWidths w = layoutWidths(c.window, c.type2, c.folders);
        EXPECT_EQ(w.baseWidth, c.base) << c.window;
        EXPECT_EQ(w.nameColumnWidth, c.column) << c.window;
        EXPECT_EQ(w.nameFieldWidth, c.field) << c.window;
        EXPECT_EQ(w.footerIndent, c.indent) << c.window;
    }
}

TEST(DisplayWidth, CountsBytesOfTheCodePageForm) {
    const Class1 c1;
    EXPECT_EQ(c1.UniLenB(QStringLiteral("ABC123w3ewｗあいう")), 18);
    EXPECT_EQ(c1.extra(QStringLiteral("ABC123w3ewｗあいう")), 4);
    EXPECT_EQ(c1.UniLenB(QStringLiteral("ﾌｧｲﾙ")), 4);
    // Characters the code page cannot hold are written as one "?" each.
    EXPECT_EQ(c1.UniLenB(QStringLiteral("café")), 4);
    EXPECT_EQ(c1.UniLenB(QString::fromUtf8("\xF0\x9F\x98\x80")), 1);
    EXPECT_EQ(c1.extra(QString::fromUtf8("\xF0\x9F\x98\x80")), -1);
}

TEST(ListingLines, HaveTheirWidthsWithTheDefaultWindow) {
    const LayoutWidths w1 = layoutWidths(12045, false, false);
    EXPECT_EQ(bannerLine(w1, kToday, QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"), QStringLiteral("*")),
              QStringLiteral("<< 12-08-2026   14:03:04 >>") + sp(36) +
                  QStringLiteral("----<< ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ ／ *.* >>----"));
    EXPECT_EQ(folderFooter(w1, 3, 12345, false).line(),
              sp(67) + QStringLiteral("    3 Files") + sp(8) + QStringLiteral("< 12.34 KB >"));
    EXPECT_EQ(folderFooter(w1, 0, 0, true).line(),
              sp(67) + QStringLiteral("    0 Files") + sp(10) + QStringLiteral("< 0 KB >"));
    EXPECT_EQ(totalLine(w1, 5, QStringLiteral("0.02")),
              sp(54) + QStringLiteral("    Total        5 Files") + sp(9) +
                  QStringLiteral("[ 0.02 KB ]"));

    const LayoutWidths w2 = layoutWidths(12045, true, false);
    EXPECT_EQ(bannerLine(w2, kToday, QStringLiteral("ﾌｧｲﾙ"), QStringLiteral("TXT")).size(), 95);
    EXPECT_EQ(folderFooter(w2, 1, 1, false).line().size(), 75);
    EXPECT_EQ(totalLine(w2, 1, QStringLiteral("0")).size(), 75);
    EXPECT_EQ(shortNameField(Class1(), QStringLiteral("a.txt"), true, w2),
              QStringLiteral("  a.txt") + sp(57));
}

TEST(NameField, PadsUpToItsLimitAndMarksWhatIsCut) {
    const Class1 c1;
    const LayoutWidths w = layoutWidths(12045, false, false);
    const QString exact = QStringLiteral("C:\\") + QString(77, u'a');  // 80 = nameFieldWidth + 23
    EXPECT_EQ(nameField(c1, exact, true, w), QStringLiteral("  ") + exact + sp(5));
    const QString longer = exact + u'b';
    EXPECT_EQ(nameField(c1, longer, true, w),
              QStringLiteral("  ") + exact + QStringLiteral("..") + sp(3));

    // A long double-width path is cut by its extra and still fills 87 columns.
    const QString wide = QStringLiteral("C:\\") + QString(57, u'あ');
    EXPECT_EQ(nameField(c1, wide, true, w),
              QStringLiteral("  C:\\") + QString(20, u'あ') + QStringLiteral("..") + sp(40));
}

TEST(NameField, FillsItsColumnsInTheWrittenFileWhateverTheName) {
    const Class1 c1;
    const LayoutWidths w1 = layoutWidths(12045, false, false);
    const LayoutWidths w2 = layoutWidths(12045, true, false);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString names[] = {
        QStringLiteral("C:\\a.txt"),
        QStringLiteral("C:\\日本語\\ﾌｧｲﾙ.txt"),
        QStringLiteral("C:\\café\\über.txt"),
        QStringLiteral("C:\\") + emoji + QStringLiteral(".txt"),
        QStringLiteral("C:\\") + emoji + QStringLiteral("漢.txt"),  // their extras cancel out
        QStringLiteral("C:\\") + QString(78, u'x') + emoji + QString(30, u'y'),
        QStringLiteral("C:\\") + QString(120, u'漢'),
        QStringLiteral("C:\\") + QString(40, u'한') + QString(40, u'あ'),
        // Characters outside the basic plane before, at and after the cut.
        QString(30, u'漢') + emoji.repeated(30) + QStringLiteral(".txt"),
        QStringLiteral("C:\\") + emoji.repeated(5) + QString(90, u'x'),
        QStringLiteral("C:\\") + QString(76, u'x') + emoji + QString(20, u'y'),
        QStringLiteral("C:\\") + QString(90, u'x') + emoji,
        QStringLiteral("C:\\") + emoji.repeated(3) + QString(40, u'漢'),
    };
    const LayoutWidths wf = layoutWidths(12045, false, true);
    const Footer footer = folderFooter(wf, 1, 1000, false);
    for (const QString& name : names) {
        const QString field = nameField(c1, name, true, w1);
        EXPECT_EQ(codepage::cp932Length(field), 87) << name.toStdString();
        // A cut path says so.
        if (codepage::cp932Length(name) > 80) {
            EXPECT_TRUE(field.trimmed().endsWith(QStringLiteral(".."))) << name.toStdString();
        }
        EXPECT_EQ(codepage::cp932Length(shortNameField(c1, name, true, w2)), 64)
            << name.toStdString();
        EXPECT_EQ(codepage::cp932Length(footerWithName(c1, footer, name, wf)), 98)
            << name.toStdString();
    }
}

TEST(FolderNames, OverlayTheFooterOfFolderSizeModeAndMarkEveryCut) {
    const Class1 c1;
    const QString a = QStringLiteral("あ");
    const QString d = QStringLiteral("C:\\");
    struct Case {
        int window;
        QString name;
        QString head;  // the columns before the count
    };
    const Case cases[] = {
        {12045, QStringLiteral("C:\\work"), QStringLiteral("C:\\work") + sp(60)},
        // Plain names: the field is 63 characters.
        {12045, d + QString(59, u'x'), d + QString(59, u'x') + sp(5)},
        {12045, d + QString(60, u'x'), d + QString(60, u'x') + sp(4)},
        {12045, d + QString(61, u'x'), d + QString(60, u'x') + QStringLiteral("..") + sp(2)},
        {12045, d + QString(70, u'd'), d + QString(60, u'd') + QStringLiteral("..") + sp(2)},
        // Double-width names: 65 columns beside "  ", 64 beside " ..".
        {12045, QStringLiteral("C:\\日本"), QStringLiteral("C:\\日本") + sp(60)},
        {12045, d + u'x' + a.repeated(30), d + u'x' + a.repeated(30) + sp(3)},
        {12045, d + a.repeated(31), d + a.repeated(31) + sp(2)},
        {12045, d + u'x' + a.repeated(31), d + u'x' + a.repeated(30) + QStringLiteral(" ..")},
        {12045, d + a.repeated(32), d + a.repeated(30) + QStringLiteral("  ..")},
        {12045, d + u'x' + a.repeated(32), d + u'x' + a.repeated(30) + QStringLiteral(" ..")},
        {12045, QString(50, u'あ'), a.repeated(17) + sp(30) + QStringLiteral(" ..")},
        // A narrower window: 64 columns beside "  ", 63 beside " ..".
        {12000, d + a.repeated(30) + u'x', d + a.repeated(30) + u'x' + sp(2)},
        {12000, d + a.repeated(31), d + a.repeated(30) + QStringLiteral(" ..")},
    };
    for (const Case& c : cases) {
        const LayoutWidths w = layoutWidths(c.window, false, true);
        const Footer f = folderFooter(w, 2, 2000, false);
        EXPECT_EQ(footerWithName(c1, f, c.name, w),
                  c.head + QStringLiteral("    2 Files") + sp(12) + QStringLiteral("< 2 KB >"))
            << c.name.toStdString();
    }
}

TEST(FitNameColumn, LeavesNamesUnderFortyColumnsAndCutsLongOnes) {
    const Class1 c1;
    QString suffix;
    QString name = QStringLiteral("あ") + QString(37, u'a');  // 39 columns
    int extra = 1;
    FitNameColumn(c1, name, extra, 67, suffix);
    EXPECT_EQ(name, QStringLiteral("あ") + QString(37, u'a'));
    EXPECT_EQ(suffix, QStringLiteral("  "));

    name = QStringLiteral("あ") + QString(38, u'a');  // 40 columns: padded to the width
    extra = 1;
    FitNameColumn(c1, name, extra, 67, suffix);
    EXPECT_EQ(name.size(), 66);
    EXPECT_EQ(suffix, QStringLiteral("  "));

    name = QString(50, u'あ');
    extra = 50;
    FitNameColumn(c1, name, extra, 67, suffix);
    EXPECT_EQ(name, QString(17, u'あ'));
    EXPECT_EQ(extra, 17);
    EXPECT_EQ(suffix, QStringLiteral(" .."));
}
