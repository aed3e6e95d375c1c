// The five listing file commands on the main window after a real scan.

#include "tests/output/output_fixture.h"

#include "output/listing_writer.h"
#include "platform/codepage/cp932.h"

namespace {

using output::Columns;

class ListingWriterTest : public OutputTest {
  protected:
    // The file a command should write, built from the window's Side A.
    QByteArray expected(Columns columns, bool csv) {
        QByteArray out;
        const shell::Form1& f = main();
        for (int i = 0; i < f.List2[0]->listCount(); ++i)
            out +=
                codepage::toCp932(output::record(columns, f.List2[0]->list(i), f.List2[1]->list(i),
                                                 f.List2[2]->list(i), csv)) +
                "\r\n";
        return out;
    }
    void expectBox(int height, int width, const QString& text) {
        const forms::TextBox& box = main().Text10;
        EXPECT_TRUE(box.visible());
        EXPECT_EQ(box.text(), text);
        EXPECT_EQ(box.height(), height);
        EXPECT_EQ(box.width(), width);
        EXPECT_EQ(box.top(), 1470);
        EXPECT_EQ(box.left(), 195);
        EXPECT_TRUE(main().Timer4.timerEnabled());
    }
};

const QString kDone = QStringLiteral("\r\nに書込み終了しました\r\nこのファイルは");

}  // namespace

TEST_F(ListingWriterTest, EveryCommandWritesItsFileOnAFirstRunIntoTheRootOfC) {
    ASSERT_EQ(settings().outputDir, QStringLiteral("C:\\"));
    ASSERT_EQ(main().List2[0]->listCount(), 3);
    const struct {
        forms::Menu* item;
        Columns columns;
        const char* file;
    } commands[] = {{main().FR1, Columns::NameSizeDate, "c/TOLAN.TXT"},
                    {main().FR0, Columns::FolderFileSizeDate, "c/TOLAN0.TXT"},
                    {main().FR2, Columns::NameSize, "c/TOLAN1.TXT"},
                    {main().FR3, Columns::NameDate, "c/TOLAN2.TXT"},
                    {main().FR4, Columns::Name, "c/TOLAN3.TXT"}};
    for (const auto& c : commands) {
        QString shownWhileWriting;
        w->app.onRun = [&](int) { shownWhileWriting = main().Text10.text(); };
        c.item->raiseClick();
        const QString path = QStringLiteral("C:\\") + output::fileStem(c.columns) + ".TXT";
        EXPECT_EQ(shownWhileWriting, path + QStringLiteral("\r\nに書込み中"));
        expectBox(735, 4110, path + kDone + QStringLiteral("カンマ区切りのデータです"));
        EXPECT_EQ(read(c.file), expected(c.columns, false)) << c.file;
    }
    // The names are the Side A paths in code page 932, the comma left as it is.
    const QByteArray fr1 = read("c/TOLAN.TXT");
    EXPECT_TRUE(fr1.startsWith("C:\\work\\a.txt,1200,"));
    EXPECT_TRUE(fr1.contains("C:\\work\\b,c.doc,34567,"));
    EXPECT_TRUE(fr1.contains(codepage::toCp932(QStringLiteral("C:\\work\\sub\\日本語.txt,10,"))));
    EXPECT_EQ(read("c/TOLAN0.TXT").split('\n').first(), "C:\\work,a.txt,1200,2024/01/05 5:07:09\r");

    forms::advanceTimers(main(), 6000);
    EXPECT_FALSE(main().Text10.visible());
    EXPECT_FALSE(main().Timer4.timerEnabled());

    // A second listing while the first one's message still shows stays its
    // own six seconds.
    w->app.onRun = nullptr;
    main().FR1->raiseClick();
    forms::advanceTimers(main(), 3000);
    main().FR2->raiseClick();
    forms::advanceTimers(main(), 5999);
    EXPECT_TRUE(main().Text10.visible());
    forms::advanceTimers(main(), 1);
    EXPECT_FALSE(main().Text10.visible());
}

TEST_F(ListingWriterTest, SwitchingToCsvLeavesBothFilesAndNamesTheForm) {
    main().FR1->raiseClick();
    settings().csvOutput = 1;
    settings().outputDir = QStringLiteral("C:\\work");
    write("c/work/TOLAN.CSV", "older listing\r\n");
    main().FR1->raiseClick();
    expectBox(
        735, 4110,
        QStringLiteral("C:\\work\\TOLAN.CSV") + kDone + QStringLiteral("ＣＳＶ形式のデータです"));
    EXPECT_EQ(read("c/work/TOLAN.CSV"), expected(Columns::NameSizeDate, true));
    EXPECT_TRUE(read("c/work/TOLAN.CSV").contains("\"C:\\work\\b,c.doc\",\"34567\","));
    EXPECT_EQ(read("c/TOLAN.TXT"), expected(Columns::NameSizeDate, false));
}

TEST_F(ListingWriterTest, AFailureShowsItsStateAndLeavesTheEarlierFileWhole) {
    tree.folder("c/out");
    const QByteArray earlier = "earlier listing\r\n";
    const struct {
        const char* outputDir;
        std::function<void()> fault;
    } cases[] = {
        {"C:\\missing", [] {}},
        {"C:\\work\\a.txt", [] {}},  // a file, not a folder
        {"Q:", [] {}},               // a drive whose folder is missing
        {"C:\\out", [&] { dosfs::faults::denyFolder(tree.path("c/out")); }},
        {"C:\\out", [&] { dosfs::faults::fillDiskAfter(tree.path("c/out"), 40); }},
    };
    for (const auto& c : cases) {
        write("c/out/TOLAN.TXT", earlier);
        dosfs::faults::clearAll();
        c.fault();
        settings().outputDir = QString::fromUtf8(c.outputDir);
        main().Timer4.setTimerEnabled(false);
        main().FR1->raiseClick();
        expectBox(510, 2190, QStringLiteral("ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)"));
        EXPECT_EQ(read("c/out/TOLAN.TXT"), earlier) << c.outputDir;
        EXPECT_EQ(entries("c/out"), QStringList{QStringLiteral("TOLAN.TXT")}) << c.outputDir;
        EXPECT_EQ(read("c/missing"), "<missing>");
        EXPECT_FALSE(main().files.isOpen(dosfs::kListingFile));
    }
}

TEST_F(ListingWriterTest, OnlyAnEmptyResultListMeansNoData) {
    main().List1.clear();
    main().FR2->raiseClick();
    expectBox(345, 1200, QStringLiteral("データなし"));
    EXPECT_EQ(read("c/TOLAN1.TXT"), "<missing>");

    main().List1.addItem(QStringLiteral("line"));
    main().state.found->start(QString());
    main().FR2->raiseClick();
    EXPECT_EQ(read("c/TOLAN1.TXT"), "");
    EXPECT_TRUE(main().Text10.text().contains(QStringLiteral("に書込み終了しました")));
}

TEST_F(ListingWriterTest, ACharacterCodePage932LacksIsWrittenAsAQuestionMark) {
    main().List1.addItem(QStringLiteral("line"));
    engine::ScanTable& found = *main().state.found;
    found.start(QStringLiteral("C:\\"));
    found.enterFolder(QStringLiteral("C:\\"));
    dosfs::DirEntry file;
    file.name = QStringLiteral("한글.txt");
    file.size = 1;
    found.addFile(file);
    main().FR4->raiseClick();
    EXPECT_EQ(read("c/TOLAN3.TXT"), "C:\\??.txt\r\n");
}
