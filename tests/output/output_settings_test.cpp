// The output settings dialog, its directory chooser and the notice items.

#include "tests/output/output_fixture.h"

#include <sys/stat.h>

namespace {

class OutputSettingsTest : public OutputTest {
  protected:
    output::Form3& form3() { return menu->form3; }
    output::Form5& form5() { return menu->form3.chooser; }
    // Opens the dialog from the menu, types `dir` and picks the format.
    void accept(const QString& dir, bool csv) {
        main().KOUT->raiseClick();
        form3().Text2.typed(dir);
        form3().Option1[csv ? 1 : 0]->setValue(true);
        form3().Command1.raiseClick();
    }
};

}  // namespace

TEST_F(OutputSettingsTest, OpeningShowsTheSettingsAndHoldsTheMainWindowUntilActive) {
    settings().csvOutput = 1;
    main().KOUT->raiseClick();
    EXPECT_TRUE(form3().visible());
    EXPECT_FALSE(main().enabled());
    EXPECT_EQ(form3().top(), 4140);
    EXPECT_EQ(form3().left(), 2055);
    EXPECT_EQ(form3().Text1.text(), QStringLiteral("C:\\"));
    EXPECT_EQ(form3().Text2.text(), QStringLiteral("C:\\"));
    EXPECT_TRUE(form3().Option1[1]->value());
    EXPECT_FALSE(form3().Option1[0]->value());
    form3().activatedByUser();
    EXPECT_TRUE(main().enabled());

    forms::advanceTimers(form3(), 5000);
    EXPECT_EQ(form3().Text4.text(), QStringLiteral("指定例： C:\\WINDOWS"));
    EXPECT_FALSE(form3().Timer1.timerEnabled());
}

TEST_F(OutputSettingsTest, AcceptedDirectoriesAreTestedAndStored) {
    // "C:\" is stored without its backslash; a leftover test file goes.
    write("c/TESTTL01.JRC", "left behind");
    accept(QStringLiteral(" C:\\ "), false);
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:"));
    EXPECT_FALSE(form3().visible());
    EXPECT_TRUE(main().enabled());
    EXPECT_EQ(entries("c"), QStringList());
    // A pipe put at its name is not waited on: it is replaced, then deleted.
    ASSERT_EQ(::mkfifo(tree.path("c/TESTTL01.JRC").constData(), 0600), 0);
    accept(QStringLiteral("C:\\"), false);
    EXPECT_FALSE(form3().visible());
    EXPECT_EQ(entries("c"), QStringList());
    EXPECT_EQ(settings().settingsDialogTop, QStringLiteral("4140"));
    main().FR1->raiseClick();
    EXPECT_TRUE(main().Text10.text().startsWith(QStringLiteral("C:\\TOLAN.TXT\r\n")));
    EXPECT_NE(read("c/TOLAN.TXT"), "<missing>");

    // An empty box tests the root of the current drive and sends the files there.
    accept(QString(), false);
    EXPECT_EQ(settings().outputDir, QString());
    EXPECT_FALSE(form3().visible());
    main().FR4->raiseClick();
    EXPECT_NE(read("c/TOLAN3.TXT"), "<missing>");
}

TEST_F(OutputSettingsTest, ARejectedDirectoryStaysInForceWithTheChosenFormat) {
    tree.folder("c/locked");
    const char* rejected[] = {"C:\\missing", "C:\\work\\a.txt", "Q:\\", "C:\\locked"};
    for (const char* dir : rejected) {
        dosfs::faults::denyFolder(tree.path("c/locked"));
        settings().csvOutput = 0;
        accept(QString::fromUtf8(dir), true);
        EXPECT_TRUE(form3().visible()) << dir;
        EXPECT_TRUE(form3().Text3.visible());
        EXPECT_EQ(form3().Text3.text(), QStringLiteral("ディレクトリ指定が異常"));
        EXPECT_FALSE(form3().Text4.visible());
        EXPECT_EQ(settings().csvOutput, 1);
        // 戻る keeps the rejected value: the backup was refreshed by 決定.
        form3().Command2.raiseClick();
        EXPECT_EQ(settings().outputDir, QString::fromUtf8(dir));
    }
    EXPECT_EQ(entries("c/locked"), QStringList());

    // The message gives way to the hint five seconds later.
    accept(QStringLiteral("C:\\missing"), false);
    forms::advanceTimers(form3(), 4999);
    EXPECT_TRUE(form3().Text3.visible());
    forms::advanceTimers(form3(), 1);
    EXPECT_FALSE(form3().Text3.visible());
    EXPECT_EQ(form3().Text4.text(), QStringLiteral("指定例： C:\\WINDOWS"));
}

TEST_F(OutputSettingsTest, ASavedDirectoryOnNoDriveIsNamedWhereItIsUsed) {
    // The drive table lost R: since the directory was set.
    settings().outputDir = QStringLiteral("R:\\out");
    main().FR1->raiseClick();
    EXPECT_EQ(main().Text10.text(), QStringLiteral("R:\\outのﾄﾞﾗｲﾌﾞなし\r\n(出力ﾃﾞｨﾚｸﾄﾘ設定要)"));
    main().KOUT->raiseClick();
    EXPECT_TRUE(form3().Text3.visible());
    EXPECT_EQ(form3().Text3.text(), QStringLiteral("R:\\outのﾄﾞﾗｲﾌﾞなし"));
    EXPECT_FALSE(form3().Text4.visible());
    forms::advanceTimers(form3(), 5000);
    EXPECT_EQ(form3().Text4.text(), QStringLiteral("指定例： C:\\WINDOWS"));
}

TEST_F(OutputSettingsTest, BackKeepsTheOldDirectoryAndFormat) {
    main().KOUT->raiseClick();
    form3().Text2.typed(QStringLiteral("C:\\work"));
    form3().Option1[1]->setValue(true);
    form3().setLeft(3000);
    form3().Command2.raiseClick();
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:\\"));
    EXPECT_EQ(settings().csvOutput, 0);
    EXPECT_EQ(settings().settingsDialogLeft, QStringLiteral("3000"));
    EXPECT_FALSE(form3().visible());
    EXPECT_TRUE(main().enabled());
}

TEST_F(OutputSettingsTest, TheChooserFillsTheDirectoryBox) {
    main().KOUT->raiseClick();
    form3().Command3.raiseClick();
    EXPECT_FALSE(form3().enabled());
    EXPECT_TRUE(form5().visible());
    EXPECT_EQ(form5().left(), form3().left() + 1305);
    EXPECT_EQ(form5().top(), form3().top());
    // Its load puts the start-up drive in force, and 戻る leaves it there.
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:"));
    EXPECT_EQ(form5().Text1.text(), QStringLiteral("C:"));
    form5().Command2.raiseClick();
    EXPECT_FALSE(form5().visible());
    EXPECT_TRUE(form3().enabled());
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:"));

    // A drive without its folder: the message, nothing reverted.
    form3().Command3.raiseClick();
    form5().Drive1.setDrive(QStringLiteral("q:"));
    EXPECT_TRUE(form5().Text2.visible());
    EXPECT_EQ(form5().Text2.text(), QStringLiteral("ディスクなし"));
    EXPECT_EQ(form5().Text1.text(), QString());

    form5().Drive1.setDrive(QStringLiteral("c:"));
    form5().Dir1.setPath(QStringLiteral("C:\\WORK\\SUB"));
    EXPECT_FALSE(form5().Text2.visible());
    EXPECT_EQ(form5().Text1.text(), QStringLiteral("C:\\work\\sub"));
    form5().Command1.raiseClick();
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:\\work\\sub"));
    EXPECT_EQ(form3().Text2.text(), QStringLiteral("C:\\work\\sub"));
    form3().Command1.raiseClick();
    EXPECT_EQ(settings().outputDir, QStringLiteral("C:\\work\\sub"));
    EXPECT_FALSE(form3().visible());

    // Closing the chooser's window gives the settings dialog back too.
    main().KOUT->raiseClick();
    form3().Command3.raiseClick();
    form5().close();
    EXPECT_FALSE(form5().visible());
    EXPECT_TRUE(form3().enabled());
}
