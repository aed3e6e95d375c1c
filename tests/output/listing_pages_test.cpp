// The pages of a printed listing, without a toolkit: the font size, the
// lines a page, cut lines, and where every line and heading lands.

#include "output/listing_pages.h"
#include "platform/forms/form.h"
#include "tests/support/qt_print.h"
#include "tests/support/test_application.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr forms::FontProportions kPlain{0.5, 1.0};
constexpr forms::FontProportions kIpaGothic{0.5, 1.076};
constexpr forms::PageArea kA4{575, 822};  // inside 10 pt margins
constexpr forms::PageArea kA4Landscape{822, 575};

class Lines : public ::testing::Test {
  protected:
    void add(int n, const QString& prefix = QStringLiteral("line ")) {
        for (int i = 0; i < n; ++i) box.addItem(prefix + QString::number(i));
    }
    // Every body line of every page, in order.
    QStringList bodies(const output::ListingPages& pages) {
        QStringList out;
        std::vector<forms::PageText> texts;
        for (int p = 0; p < pages.pageCount(); ++p) {
            pages.page(p, texts);
            for (size_t i = 2; i + 1 < texts.size(); ++i) out.append(texts[i].text);
        }
        return out;
    }

    TestApplication app;
    forms::Form form{app, QStringLiteral("Form1")};
    forms::ListBox box{form, nullptr, QStringLiteral("List1"), -1};
};

}  // namespace

TEST(LineFit, TheFontIsAsLargeAsLetsTheWidestLineFitBetweenSixAndTenPoints) {
    const struct {
        forms::PageArea area;
        int widest;
        double size;
        int cells;
    } cases[] = {
        {kA4, 0, 10.0, 115},   // an empty listing is not blown up
        {kA4, 97, 10.0, 115},  // the default listing
        {kA4, 120, 9.5, 121},  // 9.58 rounds down to a tenth
        {kA4, 150, 7.6, 151},
        {kA4, 191, 6.0, 191},  // 6.02: the smallest that fits
        {kA4, 192, 6.0, 191},  // longer than the page at 6 points: cut
        {kA4, 500, 6.0, 191},
        {kA4Landscape, 150, 10.0, 164},  // landscape holds it at the largest
        {kA4Landscape, 200, 8.2, 200},
    };
    for (const auto& c : cases) {
        const output::LineFit fit = output::fitLines(c.area, kPlain, c.widest);
        EXPECT_DOUBLE_EQ(fit.size, c.size) << c.area.width << " " << c.widest;
        EXPECT_EQ(fit.cells, c.cells) << c.area.width << " " << c.widest;
        EXPECT_LE(std::min(c.widest, fit.cells) * fit.size * kPlain.cell, c.area.width);
    }
}

TEST(LineFit, LinesAPageAreWhatFitsBetweenHeadingAndPageNumber) {
    const struct {
        forms::PageArea area;
        forms::FontProportions font;
        int widest;
        int lines;
    } cases[] = {
        {kA4, kPlain, 97, 79},           // (822 - 2 x 13.5) / 10
        {kA4, kIpaGothic, 97, 73},       // (822 - 2 x 14.53) / 10.76
        {kA4Landscape, kPlain, 97, 54},  // (575 - 27) / 10
        {kA4, kPlain, 191, 132},         // 6 points: (822 - 27) / 6
        {{575, 20}, kPlain, 97, 1},      // a page too low still takes a line
    };
    for (const auto& c : cases) {
        const output::LineFit fit = output::fitLines(c.area, c.font, c.widest);
        EXPECT_EQ(fit.linesPerPage, c.lines) << c.area.height << " " << c.font.line;
        EXPECT_DOUBLE_EQ(fit.lineHeight, fit.size * c.font.line);
    }
}

TEST(FitLine, ALongerLineIsCutAndMarkedWithoutSplittingACharacter) {
    const struct {
        const char* line;
        int cells;
        const char* shown;
    } cases[] = {
        {"abc", 10, "abc"},
        {"abc       ", 3, "abc"},  // trailing blanks take no room
        {"abcdefghij", 10, "abcdefghij"},
        {"abcdefghijk", 10, "abcdefg .."},
        {"  C:\\a b\\c.txt  -  12", 12, "  C:\\a b\\ .."},
        {"日本語テキスト", 14, "日本語テキスト"},  // 14 cells
        {"日本語テキスト", 10, "日本語 .."},       // 7 cells left: a 4th would need 8
        {"ab日本語テキスト", 10, "ab日本 .."},
        {"ﾃﾞｨﾚｸﾄﾘ", 7, "ﾃﾞｨﾚｸﾄﾘ"},  // half-width katakana: a cell each
        {"ﾃﾞｨﾚｸﾄﾘ", 6, "ﾃﾞｨ .."},
        {"한국어 이름.doc", 8, "한국어 이 .."},  // not in code page 932: a cell each, as listed
        {"a\xF0\x9F\x98\x80"
         "bcdef",
         5, "a\xF0\x9F\x98\x80 .."},  // a pair is one character
    };
    for (const auto& c : cases) {
        const QString shown = output::fitLine(QString::fromUtf8(c.line), c.cells);
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.line << " in " << c.cells;
        EXPECT_LE(output::cellsOf(shown), c.cells) << c.line;
    }
}

TEST_F(Lines, EveryLineIsOnOnePageInOrderUnderTheHeadingAboveThePageNumber) {
    add(250);
    output::ListingPages pages(box, QStringLiteral("C:\\work"), 0);
    pages.layOut(kA4, kPlain, false);
    ASSERT_EQ(pages.fit().linesPerPage, 79);
    ASSERT_EQ(pages.pageCount(), 4);  // 79 + 79 + 79 + 13

    QStringList all;
    for (int i = 0; i < 250; ++i) all.append(QStringLiteral("line %1").arg(i));
    EXPECT_EQ(bodies(pages), all);

    std::vector<forms::PageText> texts;
    pages.page(3, texts);
    ASSERT_EQ(texts.size(), 2u + 13u + 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("C:\\work"));
    EXPECT_EQ(texts[0].x, 0);
    EXPECT_EQ(texts[1].text, pages.timeText());
    // The time ends at the right edge, the page number is centred at the foot.
    EXPECT_DOUBLE_EQ(texts[1].x + output::cellsOf(texts[1].text) * 9 * 0.5, kA4.width);
    EXPECT_EQ(texts[2].text, QStringLiteral("line 237"));
    EXPECT_DOUBLE_EQ(texts[2].y, pages.fit().top);
    EXPECT_DOUBLE_EQ(texts[3].y - texts[2].y, pages.fit().lineHeight);
    const forms::PageText& number = texts.back();
    EXPECT_EQ(number.text, QStringLiteral("4 / 4"));
    EXPECT_DOUBLE_EQ(number.x * 2 + 5 * 9 * 0.5, kA4.width);
    EXPECT_GE(number.y, texts[texts.size() - 2].y + pages.fit().lineHeight);
    EXPECT_LE(number.y + 9, kA4.height);

    pages.page(4, texts);
    EXPECT_TRUE(texts.empty());
}

TEST_F(Lines, TheHeadingTimeIsTheScansInTheProgramsDateForm) {
    box.addItem(QStringLiteral("x"));
    const qint64 t = QDateTime(QDate(2024, 1, 5), QTime(5, 7, 9)).toSecsSinceEpoch();
    output::ListingPages pages(box, QStringLiteral("C:\\work"), t);
    EXPECT_EQ(pages.timeText(), QStringLiteral("2024/01/05 05:07:09"));
}

TEST_F(Lines, ABlankLineKeepsItsRowAndDrawsNothing) {
    box.addItem(QStringLiteral("first"));
    box.addItem(QString());
    box.addItem(QStringLiteral("   "));
    box.addItem(QStringLiteral("fourth"));
    output::ListingPages pages(box, QStringLiteral("C:\\"), 0);
    pages.layOut(kA4, kPlain, false);
    std::vector<forms::PageText> texts;
    pages.page(0, texts);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[3].text, QStringLiteral("fourth"));
    EXPECT_DOUBLE_EQ(texts[3].y - texts[2].y, 3 * pages.fit().lineHeight);
}

TEST_F(Lines, TheWidestLineSetsTheSizeAndLongerLinesAreCutToThePage) {
    box.addItem(QString(150, u'a'));
    box.addItem(QString(120, u'b') + QString(200, u' '));  // blanks past the end count for nothing
    output::ListingPages pages(box, QStringLiteral("C:\\"), 0);
    pages.layOut(kA4, kPlain, false);
    EXPECT_DOUBLE_EQ(pages.fit().size, 7.6);
    EXPECT_EQ(bodies(pages), (QStringList{QString(150, u'a'), QString(120, u'b')}));

    box.addItem(QString(400, u'c'));
    pages.layOut(kA4, kPlain, false);
    EXPECT_DOUBLE_EQ(pages.fit().size, 6.0);  // a new layout measures the lines again
    EXPECT_EQ(bodies(pages).last(), QString(188, u'c') + QStringLiteral(" .."));
}

TEST_F(Lines, TheSelectionAloneIsItsFirstRunAsTheClipboardTakesIt) {
    add(300);
    output::ListingPages pages(box, QStringLiteral("C:\\"), 0);
    EXPECT_FALSE(pages.hasSelection());
    for (int i = 100; i < 190; ++i) box.setSelected(i, true);
    box.setSelected(200, true);  // a second run is left out
    EXPECT_TRUE(pages.hasSelection());
    pages.layOut(kA4, kPlain, true);
    EXPECT_EQ(pages.pageCount(), 2);
    const QStringList lines = bodies(pages);
    ASSERT_EQ(lines.size(), 90);
    EXPECT_EQ(lines.first(), QStringLiteral("line 100"));
    EXPECT_EQ(lines.last(), QStringLiteral("line 189"));
    std::vector<forms::PageText> texts;
    pages.page(1, texts);
    EXPECT_EQ(texts.back().text, QStringLiteral("2 / 2"));

    pages.layOut(kA4, kPlain, false);
    EXPECT_EQ(pages.pageCount(), 4);
}

TEST_F(Lines, ALongFolderIsCutBeforeTheTimeInTheHeading) {
    box.addItem(QStringLiteral("x"));
    const QString folder = QStringLiteral("C:\\") + QString(200, u'長');
    output::ListingPages pages(box, folder, 0);
    pages.layOut(kA4, kPlain, false);
    std::vector<forms::PageText> texts;
    pages.page(0, texts);
    EXPECT_TRUE(texts[0].text.endsWith(QStringLiteral(" ..")));
    EXPECT_TRUE(texts[0].text.startsWith(QStringLiteral("C:\\長")));
    const double folderEnd = output::cellsOf(texts[0].text) * 9 * 0.5;
    EXPECT_LE(folderEnd + 2 * 9 * 0.5, texts[1].x + 1e-9);
}
