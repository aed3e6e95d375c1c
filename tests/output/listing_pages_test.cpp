// The pages of a printed listing, without a toolkit: the font size, the
// lines a page, cut lines, and where every line and heading lands.

#include "output/listing_pages.h"
#include "platform/forms/form.h"
#include "tests/support/qt_print.h"
#include "tests/support/test_application.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

constexpr forms::FontProportions kPlain{0.5, 1.0};
constexpr forms::PageArea kA4{575, 822};  // inside 10 pt margins
constexpr forms::PageArea kA4Landscape{822, 575};

class Lines : public ::testing::Test {
  protected:
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
        {kA4, 191, 6.0, 191},  // 6.02: the smallest that fits
        {kA4, 192, 6.0, 191},  // longer than the page at 6 points: cut
        {kA4Landscape, 200, 8.2, 200},
    };
    for (const auto& c : cases) {
        const output::LineFit fit = output::fitLines(c.area, kPlain, c.widest);
        EXPECT_DOUBLE_EQ(fit.size, c.size) << c.area.width << " " << c.widest;
        EXPECT_EQ(fit.cells, c.cells) << c.area.width << " " << c.widest;
    }
}

TEST(LineFit, LinesAPageAreWhatFitsBetweenHeadingAndPageNumber) {
    const struct {
        forms::PageArea area;
        double line;  // ems
        int widest;
        int lines;
    } cases[] = {
        {kA4, 1.0, 97, 79},           // (822 - 2 x 13.5) / 10
        {kA4, 1.076, 97, 73},         // IPAGothic: (822 - 2 x 14.53) / 10.76
        {kA4Landscape, 1.0, 97, 54},  // (575 - 27) / 10
        {kA4, 1.0, 191, 132},         // 6 points: (822 - 27) / 6
        {{575, 20}, 1.0, 97, 1},      // a page too low still takes a line
    };
    for (const auto& c : cases)
        EXPECT_EQ(output::fitLines(c.area, {0.5, c.line}, c.widest).linesPerPage, c.lines)
            << c.area.height << " " << c.line;
}

TEST(FitLine, ALongerLineIsCutAndMarkedWithoutSplittingACharacter) {
    const struct {
        const char* line;
        int cells;
        const char* shown;
    } cases[] = {
        {"abc       ", 3, "abc"},  // trailing blanks take no room
        {"abcdefghij", 10, "abcdefghij"},
        {"abcdefghijk", 10, "abcdefg .."},
        {"日本語テキスト", 14, "日本語テキスト"},
        {"ab日本語テキスト", 10, "ab日本 .."},   // 7 cells left: a third would need 8
        {"ﾃﾞｨﾚｸﾄﾘ", 6, "ﾃﾞｨ .."},                // half-width katakana: a cell each
        {"한국어 이름.doc", 8, "한국어 이 .."},  // not in code page 932: a cell each, as listed
        {"a\xF0\x9F\x98\x80"
         "bcdef",
         5, "a\xF0\x9F\x98\x80 .."},  // a pair is one character
    };
    for (const auto& c : cases)
        EXPECT_EQ(output::fitLine(QString::fromUtf8(c.line), c.cells), QString::fromUtf8(c.shown))
            << c.line << " in " << c.cells;
}

TEST_F(Lines, EveryLineIsOnOnePageInOrderUnderTheHeadingAboveThePageNumber) {
    QStringList lines;
    for (int i = 0; i < 250; ++i)
        lines.append(i == 100 ? QString() : QStringLiteral("line %1").arg(i));
    for (const QString& line : lines) box.addItem(line);
    output::ListingPages pages(box, QStringLiteral("C:\\work"), 0);
    pages.layOut(kA4, kPlain, false);
    const output::LineFit& fit = pages.fit();
    ASSERT_EQ(fit.linesPerPage, 79);
    ASSERT_EQ(pages.pageCount(), 4);  // 79 + 79 + 79 + 13

    QStringList body;
    std::vector<forms::PageText> texts;
    for (int p = 0; p < pages.pageCount(); ++p) {
        pages.page(p, texts);
        ASSERT_GE(texts.size(), 3u);
        EXPECT_EQ(texts[0].text, QStringLiteral("C:\\work"));
        EXPECT_EQ(texts[0].x, 0);
        EXPECT_EQ(texts[1].text, pages.timeText());  // ending at the right edge
        EXPECT_DOUBLE_EQ(texts[1].x + output::cellsOf(texts[1].text) * 9 * 0.5, kA4.width);
        const forms::PageText& number = texts.back();
        EXPECT_EQ(number.text, QStringLiteral("%1 / 4").arg(p + 1));
        EXPECT_DOUBLE_EQ(number.x * 2 + 5 * 9 * 0.5, kA4.width);  // centred
        EXPECT_DOUBLE_EQ(number.y + 9, kA4.height);
        for (size_t t = 2; t + 1 < texts.size(); ++t) {
            // A blank line draws nothing and keeps its row.
            const int line = texts[t].text.mid(5).toInt();
            EXPECT_DOUBLE_EQ(texts[t].y, fit.top + (line - p * 79) * fit.lineHeight);
            body.append(texts[t].text);
        }
    }
    lines.removeAll(QString());
    EXPECT_EQ(body, lines);
    pages.page(4, texts);
    EXPECT_TRUE(texts.empty());
}

TEST_F(Lines, TheSelectionAloneIsItsFirstRunAsTheClipboardTakesIt) {
    for (int i = 0; i < 300; ++i) box.addItem(QStringLiteral("line %1").arg(i));
    output::ListingPages pages(box, QStringLiteral("C:\\"), 0);
    EXPECT_FALSE(pages.hasSelection());
    for (int i = 100; i < 190; ++i) box.setSelected(i, true);
    box.setSelected(200, true);  // a second run is left out
    EXPECT_TRUE(pages.hasSelection());
    pages.layOut(kA4, kPlain, true);
    ASSERT_EQ(pages.pageCount(), 2);
    std::vector<forms::PageText> texts;
    pages.page(1, texts);
    EXPECT_EQ(texts[2].text, QStringLiteral("line 179"));
    EXPECT_EQ(texts[texts.size() - 2].text, QStringLiteral("line 189"));
    EXPECT_EQ(texts.back().text, QStringLiteral("2 / 2"));
    pages.layOut(kA4, kPlain, false);
    EXPECT_EQ(pages.pageCount(), 4);
}
