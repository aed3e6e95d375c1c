// プリント出力: Side B's lines in a print preview, and what the main window
// says of the print.

#include "output/listing_pages.h"
#include "tests/output/output_fixture.h"
#include "tests/support/qt_print.h"

namespace {

constexpr forms::PageArea kA4{575, 822};
constexpr forms::FontProportions kPlain{0.5, 1.0};

// The body lines of every page, as the preview would draw them.
QStringList printed(forms::PrintDocument& pages, bool selectionOnly) {
    pages.layOut(kA4, kPlain, selectionOnly);
    QStringList out;
    std::vector<forms::PageText> texts;
    for (int p = 0; p < pages.pageCount(); ++p) {
        pages.page(p, texts);
        for (size_t i = 2; i + 1 < texts.size(); ++i) out.append(texts[i].text);
    }
    return out;
}

QStringList trimmed(QStringList lines) {
    lines.removeAll(QString());
    for (QString& line : lines) {
        while (line.endsWith(u' ')) line.chop(1);
    }
    lines.removeAll(QString());
    return lines;
}

}  // namespace

class PrintCommandTest : public OutputTest {};

TEST_F(PrintCommandTest, ThePreviewShowsSideBUnderTheScannedFolderAndTheScanTime) {
    QStringList lines;
    QString title;
    std::vector<forms::PageText> first;
    w->app.onPrint = [&](forms::PrintDocument& pages) {
        title = pages.title();
        lines = printed(pages, false);
        pages.page(0, first);
        return forms::PrintOutcome::NotPrinted;
    };
    // Side A has moved on since the scan; the heading names what was listed.
    w->open(QStringLiteral("C:\\work\\sub"));
    main().OUTPUT->raiseClick();
    EXPECT_EQ(w->app.previews, 1);
    EXPECT_EQ(title, QStringLiteral("C:\\work"));
    EXPECT_EQ(lines, trimmed(w->list1()));
    ASSERT_GE(first.size(), 2u);
    EXPECT_EQ(first[0].text, QStringLiteral("C:\\work"));
    // The banner's time is the heading's.
    const QString time = first[1].text;  // yyyy/MM/dd hh:mm:ss
    EXPECT_TRUE(w->list1().first().contains(time.mid(11)));
    EXPECT_TRUE(
        w->list1().first().contains(time.mid(5, 2) + u'-' + time.mid(8, 2) + u'-' + time.left(4)));
    EXPECT_FALSE(main().Text10.visible());
}

TEST_F(PrintCommandTest, SelectedLinesMayBePrintedAlone) {
    for (int i = 4; i <= 6; ++i) main().List1.setSelected(i, true);
    QStringList whole, selection;
    bool offered = false;
    w->app.onPrint = [&](forms::PrintDocument& pages) {
        offered = pages.hasSelection();
        selection = printed(pages, true);
        whole = printed(pages, false);
        return forms::PrintOutcome::Printed;
    };
    main().OUTPUT->raiseClick();
    EXPECT_TRUE(offered);
    EXPECT_EQ(selection, trimmed(w->list1().mid(4, 3)));
    EXPECT_EQ(whole, trimmed(w->list1()));
}

TEST_F(PrintCommandTest, AnEmptySideBSaysSoAndShowsNoPreview) {
    main().List1.clear();
    main().OUTPUT->raiseClick();
    EXPECT_EQ(w->app.previews, 0);
    EXPECT_TRUE(main().Text10.visible());
    EXPECT_EQ(main().Text10.text(), QStringLiteral("データなし"));
}

TEST_F(PrintCommandTest, Text10TellsHowThePrintWent) {
    const struct {
        forms::PrintOutcome outcome;
        const char* text;  // nullptr: no message
    } cases[] = {
        {forms::PrintOutcome::NotPrinted, nullptr},
        {forms::PrintOutcome::Printed, "印刷終了しました"},
        {forms::PrintOutcome::Failed, "印刷失敗(ﾌﾟﾘﾝﾀﾁｪｯｸ要)"},
        {forms::PrintOutcome::Cancelled, "印刷中断"},
    };
    for (const auto& c : cases) {
        main().Text10.setVisible(true);
        main().Text10.setText(QStringLiteral("earlier"));
        w->app.onPrint = [&](forms::PrintDocument&) { return c.outcome; };
        main().OUTPUT->raiseClick();
        if (!c.text) {
            EXPECT_FALSE(main().Text10.visible());
            continue;
        }
        EXPECT_TRUE(main().Text10.visible()) << c.text;
        EXPECT_EQ(main().Text10.text(), QString::fromUtf8(c.text));
        forms::advanceTimers(main(), 6000);
        EXPECT_FALSE(main().Text10.visible()) << c.text;
    }
}
