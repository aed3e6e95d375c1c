// プリント出力: Side B's lines in a print preview, and what the main window
// says of the print.

#include "output/listing_pages.h"
#include "tests/output/output_fixture.h"
#include "tests/support/qt_print.h"

class PrintCommandTest : public OutputTest {};

TEST_F(PrintCommandTest, ThePreviewShowsSideBUnderTheScannedFolderAndTheScanTime) {
    QStringList printed;
    std::vector<forms::PageText> first;
    w->app.onPrint = [&](forms::PrintDocument& pages) {
        pages.layOut({575, 822}, {0.5, 1.0}, false);
        std::vector<forms::PageText> texts;
        for (int p = 0; p < pages.pageCount(); ++p) {
            pages.page(p, texts);
            if (p == 0) first = texts;
            for (size_t i = 2; i + 1 < texts.size(); ++i) printed.append(texts[i].text);
        }
        return forms::PrintOutcome::NotPrinted;
    };
    // Side A has moved on since the scan; the heading names what was listed.
    w->open(QStringLiteral("C:\\work\\sub"));
    main().OUTPUT->raiseClick();
    EXPECT_EQ(w->app.previews, 1);
    QStringList shown;
    for (QString line : w->list1()) {
        while (line.endsWith(u' ')) line.chop(1);
        if (!line.isEmpty()) shown.append(line);
    }
    EXPECT_EQ(printed, shown);
    ASSERT_GE(first.size(), 2u);
    EXPECT_EQ(first[0].text, QStringLiteral("C:\\work"));
    // The heading's time (yyyy/MM/dd hh:mm:ss) is the banner's.
    const QString time = first[1].text;
    EXPECT_TRUE(shown.first().startsWith(
        QStringLiteral("<< %1-%2-%3   %4 >>")
            .arg(time.mid(5, 2), time.mid(8, 2), time.left(4), time.mid(11))))
        << shown.first().toStdString() << " / " << time.toStdString();
    EXPECT_FALSE(main().Text10.visible());
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
        w->app.onPrint = [&](forms::PrintDocument&) { return c.outcome; };
        main().OUTPUT->raiseClick();
        EXPECT_EQ(main().Text10.visible(), c.text != nullptr);
        if (!c.text) continue;
        EXPECT_EQ(main().Text10.text(), QString::fromUtf8(c.text));
        forms::advanceTimers(main(), 6000);
        EXPECT_FALSE(main().Text10.visible()) << c.text;
    }
}
