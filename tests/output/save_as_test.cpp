// The save-as dialog on the main window's model after a real scan.

#include "tests/output/output_fixture.h"

#include "engine/module1.h"

namespace {

class SaveAsTest : public OutputTest {
  protected:
    output::Form2& form2() { return menu->form2; }
    QByteArray workFile() {
        const dosfs::Resolved r = w->fs->resolve(main().state.workFilePath);
        QFile f(QString::fromUtf8(r.host));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void open() {
        main().Command4.raiseClick();
        form2().activatedByUser();
    }
    // Opens the dialog, types a name and presses the save button.
    void saveAs(const QString& name) {
        open();
        form2().Text1.typed(name);
        form2().Text1.raiseKeyDown('X', 0);
        form2().Command3.raiseClick();
    }
    void expectMessage(const char* text, int left, int width) {
        EXPECT_TRUE(form2().visible());
        EXPECT_TRUE(form2().Text2.visible());
        EXPECT_EQ(form2().Text2.text(), QString::fromUtf8(text));
        EXPECT_EQ(form2().Text2.left(), left);
        EXPECT_EQ(form2().Text2.width(), width);
        EXPECT_EQ(form2().Text2.top(), 360);
        forms::advanceTimers(form2(), 2000);
        EXPECT_FALSE(form2().Text2.visible());
    }
    void expectMainWindowBack() {
        EXPECT_TRUE(main().enabled());
        EXPECT_TRUE(main().Command4.enabled());
        EXPECT_TRUE(main().List1.enabled());
        EXPECT_FALSE(main().Text4.visible());
        EXPECT_TRUE(main().Dir1.visible());
        EXPECT_TRUE(main().File1.visible());
    }
};

}  // namespace

TEST_F(SaveAsTest, ATypedNameReceivesTheWorkFileAndTheRecount) {
    main().Label5.setText(QStringLiteral("stale"));
    open();
    EXPECT_TRUE(form2().visible());
    EXPECT_FALSE(main().enabled());
    EXPECT_FALSE(main().Command4.enabled());
    EXPECT_EQ(main().Label5.text(), QString());
    EXPECT_EQ(form2().top(), 1065);
    EXPECT_EQ(form2().left(), 2985);
    EXPECT_EQ(form2().Text3.text(), QStringLiteral("*.DAT;*.TXT;*.LST;*.DOC"));
    EXPECT_EQ(form2().File1.pattern(), QStringLiteral("*.DAT;*.TXT;*.LST;*.DOC"));
    form2().Text1.typed(QStringLiteral("C:\\work\\list.lst"));
    form2().Text1.raiseKeyDown('T', 0);
    EXPECT_EQ(form2().Command3.text(), QStringLiteral("新規作成"));
    form2().setLeft(777);
    form2().Command3.raiseClick();

    EXPECT_FALSE(form2().visible());
    expectMainWindowBack();
    EXPECT_EQ(read("c/work/list.lst"), workFile());
    EXPECT_GT(workFile().size(), 100);
    // The main window lists C:\work: the saved file shows there at once.
    ASSERT_EQ(main().File1.path(), QStringLiteral("C:\\work"));
    bool listed = false;
    for (int i = 0; i < main().File1.listCount(); ++i)
        listed = listed || main().File1.list(i) == QStringLiteral("list.lst");
    EXPECT_TRUE(listed);
    // Three file lines: a.txt, b,c.doc and 日本語.txt.
    EXPECT_EQ(main().Label5.text(), QStringLiteral("3"));
    EXPECT_EQ(settings().saveDialogLeft, QStringLiteral("777"));

    // After a change of the output type every line but the banner counts.
    w->behaviour->scan.listing.setTypeChanged(true);
    saveAs(QStringLiteral("C:\\work\\list.lst"));
    EXPECT_EQ(main().Label5.text(), QString::number(main().List1.listCount() - 1));
    EXPECT_FALSE(w->behaviour->scan.listing.typeChanged());
}

TEST_F(SaveAsTest, TheLineCountRuleLooksAtTheFirstThreeCharacters) {
    const struct {
        const char* line;
        bool counts;
        bool countsAfterTypeChange;
    } lines[] = {
        {"  C:\\a.txt   1", true, true}, {"<< 12-08-2026 >>", false, false},
        {"C:\\work", false, true},       {"", false, true},
        {"      4 Files", false, true},  {"ab", true, true},
        {"日:x", false, true},           {"日本語", true, true},
    };
    for (const auto& l : lines) {
        EXPECT_EQ(engine::ListingState::countsAsListedFile(QString::fromUtf8(l.line), false),
                  l.counts)
            << l.line;
        EXPECT_EQ(engine::ListingState::countsAsListedFile(QString::fromUtf8(l.line), true),
                  l.countsAfterTypeChange)
            << l.line;
    }
}

TEST_F(SaveAsTest, TheDialogStaysOpenWithItsMessages) {
    saveAs(QStringLiteral("C:\\work\\noext"));
    expectMessage("拡張子が定義されていません。", 2040, 2595);
    EXPECT_EQ(read("c/work/noext"), "<missing>");

    form2().Text1.typed(QStringLiteral("C:\\nope\\x.txt"));
    form2().Command3.raiseClick();
    expectMessage("ディレクトリ存在せず", 2610, 2025);

    tree.folder("c/work/dir.d");
    const char* badNames[] = {"C:\\work\\dir.d", "Q:\\x.txt"};
    for (const char* name : badNames) {
        form2().Text1.typed(QString::fromUtf8(name));
        form2().Command3.raiseClick();
        expectMessage("ファイル名指定ミス", 2610, 2025);
    }
    EXPECT_FALSE(main().enabled());

    form2().Command2.raiseClick();
    main().List1.clear();
    saveAs(QStringLiteral("C:\\work\\x.txt"));
    expectMessage("保存すべきデータ無し", 2610, 2025);
    EXPECT_EQ(read("c/work/x.txt"), "<missing>");
}

TEST_F(SaveAsTest, OnlyAFileThatLooksLikeAListingIsReplaced) {
    const struct {
        const char* content;
        bool replaced;
    } files[] = {
        {"Dear Bob, the minutes\r\n", false},
        {"\"quoted, still a letter\"\r\nC:\\x\r\n", false},
        {"C:\\DATA\\A.TXT,123\r\n", true},
        {"<< 12-08-2026 >>\r\n", true},
        {"", true},
        {"\x81\x40\x93\xfa\x96\x7b\x00\x01\x02", false},  // binary without a line end
    };
    tree.file("c/work/keep.txt");
    for (const auto& f : files) {
        for (bool picked : {true, false}) {
            write("c/work/keep.txt", f.content);
            open();
            form2().Dir1.setPath(QStringLiteral("C:\\work"));
            if (picked) {
                const int i = form2().File1.listCount() - 1;
                ASSERT_EQ(form2().File1.list(i), QStringLiteral("keep.txt"));
                form2().File1.picked(i);
                EXPECT_EQ(form2().Command3.text(), QStringLiteral("上書保存"));
            } else {
                form2().Text1.typed(QStringLiteral("C:\\work\\KEEP.TXT"));
                form2().Text1.raiseKeyDown('T', 0);
            }
            form2().Command3.raiseClick();
            if (f.replaced) {
                EXPECT_EQ(read("c/work/keep.txt"), workFile()) << f.content;
                EXPECT_FALSE(form2().visible());
            } else {
                EXPECT_EQ(read("c/work/keep.txt"), QByteArray(f.content)) << f.content;
                expectMessage("このファイルに上書きできません。", 1605, 3030);
                form2().Command2.raiseClick();
            }
        }
    }
}

TEST_F(SaveAsTest, ABareNameGoesToTheMainWindowsFolder) {
    tree.folder("c/elsewhere");
    open();
    form2().Dir1.setPath(QStringLiteral("C:\\elsewhere"));
    form2().Text1.typed(QStringLiteral("LIST.TXT"));
    form2().Command3.raiseClick();
    EXPECT_EQ(read("c/work/LIST.TXT"), workFile());
    EXPECT_EQ(entries("c/elsewhere"), QStringList());
}

TEST_F(SaveAsTest, AFailedCopyLeavesThePreviousFileAndSaysSoInTheMainWindow) {
    tree.folder("c/out");
    const QByteArray earlier = "<< an earlier listing >>\r\n";
    const struct {
        const char* name;
        std::function<void()> fault;
    } cases[] = {
        {"full", [&] { dosfs::faults::fillDiskAfter(tree.path("c/out"), 64); }},
        {"read-only", [&] { ::chmod(tree.path("c/out/LIST.TXT").constData(), 0444); }},
        {"denied", [&] { dosfs::faults::denyFolder(tree.path("c/out")); }},
    };
    for (const auto& c : cases) {
        ::chmod(tree.path("c/out/LIST.TXT").constData(), 0644);
        write("c/out/LIST.TXT", earlier);
        dosfs::faults::clearAll();
        c.fault();
        main().Timer4.setTimerEnabled(false);
        saveAs(QStringLiteral("C:\\out\\LIST.TXT"));
        if (form2().visible()) {
            EXPECT_EQ(form2().Text2.text(), QStringLiteral("ファイル名指定ミス")) << c.name;
            form2().Command2.raiseClick();
        } else {
            EXPECT_TRUE(main().Text10.visible()) << c.name;
            EXPECT_EQ(main().Text10.text(), QStringLiteral("ファイル名指定ミス"));
            EXPECT_TRUE(main().Timer4.timerEnabled());
        }
        expectMainWindowBack();
        EXPECT_EQ(read("c/out/LIST.TXT"), earlier) << c.name;
        EXPECT_EQ(entries("c/out"), QStringList{QStringLiteral("LIST.TXT")}) << c.name;
        EXPECT_FALSE(main().files.isOpen(dosfs::kSaveFile));
        EXPECT_FALSE(main().files.isOpen(engine::kWorkFile));
    }
}

TEST_F(SaveAsTest, ThePatternBoxAndShowAllFiles) {
    tree.file("c/work/notes.md");
    open();
    form2().Dir1.setPath(QStringLiteral("C:\\work"));
    EXPECT_FALSE(form2().File1.listCount() == 0);
    const auto listed = [&] {
        QStringList names;
        for (int i = 0; i < form2().File1.listCount(); ++i) names << form2().File1.list(i);
        return names;
    };
    EXPECT_FALSE(listed().contains(QStringLiteral("notes.md")));

    form2().Text3.typed(QStringLiteral("*.md"));
    form2().Text3.raiseLostFocus();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("notes.md")});

    form2().Check1.setValue(true);
    EXPECT_EQ(form2().Text3.text(), QStringLiteral("*.*"));
    EXPECT_TRUE(listed().contains(QStringLiteral("notes.md")));
    EXPECT_TRUE(listed().contains(QStringLiteral("a.txt")));
    // Unticking returns to the default, not to the typed pattern.
    form2().Check1.setValue(false);
    EXPECT_EQ(form2().Text3.text(), QStringLiteral("*.DAT;*.TXT;*.LST;*.DOC"));

    form2().Text3.typed(QStringLiteral("*.txt;..\\*"));
    form2().Text3.raiseLostFocus();
    EXPECT_EQ(form2().Text2.text(), QStringLiteral("拡張子設定エラー"));
    EXPECT_TRUE(form2().Text2.visible());
    EXPECT_EQ(form2().Text3.text(), QStringLiteral("*.DAT;*.TXT;*.LST;*.DOC"));
}

TEST_F(SaveAsTest, BackRemembersTheNameAndGivesTheCountBack) {
    open();
    form2().Text1.typed(QStringLiteral("C:\\work\\later.txt"));
    form2().Command2.raiseClick();
    EXPECT_FALSE(form2().visible());
    expectMainWindowBack();
    EXPECT_EQ(main().Label5.text(), QStringLiteral("3"));
    open();
    EXPECT_EQ(form2().Text1.text(), QStringLiteral("C:\\work\\later.txt"));
    form2().Text1.raiseMouseDown(1, 0, 0, 0);
    EXPECT_EQ(form2().Command3.text(), QStringLiteral("上書保存"));
    // Closing the window by its frame gives the main window back as well.
    form2().close();
    expectMainWindowBack();
}
