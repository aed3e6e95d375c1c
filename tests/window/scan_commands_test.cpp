// The scan commands and the run state on the main window's model.

#include "tests/support/program_fixture.h"

#include "engine/module1.h"
#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/fault_seam.h"
#include "tests/support/in_child.h"
#include "tests/support/recording_host.h"

#include <gtest/gtest.h>

namespace {

class ScanCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("c/work/a.txt", 1200);
        tree.file("c/work/b.doc", 34567);
        tree.file("c/work/sub/日本語.txt", 10);
        tree.file("c/work/sub/deeper/z.txt", 5000);
        tree.file("c/other/x.txt", 1);
        w = std::make_unique<ProgramFixture>(tree);
        w->open(QStringLiteral("C:\\work"));
    }
    // The same scan run straight on the engine, without the window.
    QStringList engineLines(engine::ScanMode mode) {
        RecordingHost host;
        host.width = w->form->width();
        host.typeText = w->form->Combo2.text();
        host.extText = w->form->Combo1.text();
        host.drives = w->form->Drive1.entries();
        dosfs::NumberedFiles files(*w->fs);
        engine::Module1 m(host, *w->fs, files);
        m.settings.scanRoot = QStringLiteral("C:\\work");
        m.settings.listType = w->form->state.listType;
        m.settings.extFilter = w->form->state.extFilter;
        m.settings.mode = mode;
        m.ScanTree();
        return host.lines;
    }
    void expectIdle() {
        shell::Form1& f = *w->form;
        EXPECT_EQ(f.Command5.text(), QStringLiteral("終了"));
        EXPECT_EQ(f.state.run, shell::RunState::Idle);
        for (const forms::Control* c :
             {&f.Command1, &f.Command3, &f.Command4, &f.Command5, &f.Command6})
            EXPECT_TRUE(c->enabled()) << c->name().toStdString();
        EXPECT_FALSE(f.Text4.visible());
        EXPECT_TRUE(f.Dir1.visible());
        EXPECT_TRUE(f.File1.visible());
        EXPECT_TRUE(f.List1.enabled());
        EXPECT_FALSE(w->behaviour->scan.settings.abortRequested);
    }
    TempTree tree;
    std::unique_ptr<ProgramFixture> w;
};

// Lines but the banner, whose clock differs between the two runs.
QStringList afterBanner(const QStringList& lines) {
    return lines.mid(1);
}

}  // namespace

TEST_F(ScanCommandsTest, EachCommandListsWhatTheEngineListsAndReturnsToIdle) {
    struct Case {
        void (window::MainWindow::*command)();
        engine::ScanMode mode;
    };
    const Case cases[] = {{&window::MainWindow::Command3_Click, engine::ScanMode::Totals},
                          {&window::MainWindow::Command1_Click, engine::ScanMode::Plain},
                          {&window::MainWindow::Command6_Click, engine::ScanMode::Folders}};
    // A name too long for its field and one of double-width characters:
    // Side B's file lines are made again from the table when shown.
    tree.file("c/work/sub/とても長い名前のファイルはこの欄に収まらずに切られるものですよね.txt", 3);
    tree.file("c/work/sub/" + QByteArray(120, 'n') + ".txt", 4);
    for (int type : {1, 0}) {
        for (const Case& c : cases) {
            w->form->Combo2.picked(type);
            (w->behaviour->*c.command)();
            const QStringList shown = w->list1();
            ASSERT_GT(shown.size(), 1);
            EXPECT_EQ(shown, w->workFile());
            EXPECT_EQ(afterBanner(shown), afterBanner(engineLines(c.mode)));
            EXPECT_TRUE(shown[0].endsWith(type == 0
                                              ? QStringLiteral("----<< ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ ／ *.* >>----")
                                              : QStringLiteral("----<< ﾌｧｲﾙ ／ *.* >>----")));
            expectIdle();
            EXPECT_EQ(w->form->Dir1.path(), QStringLiteral("C:\\work"));
            EXPECT_EQ(w->form->Text2.text(), QStringLiteral("C:\\work"));
            EXPECT_EQ(w->fs->currentFolder(u'C'), QStringLiteral("C:\\work"));
            EXPECT_EQ(w->form->Label5.text(), QStringLiteral("6"));
            EXPECT_EQ(w->form->List2[0]->listCount(), 6);
        }
    }
    EXPECT_TRUE(afterBanner(w->list1()).last().contains(QStringLiteral("Total")));
}

TEST_F(ScanCommandsTest, AStopAtAPollPointKeepsThePartialListing) {
    shell::Form1& f = *w->form;
    window::MainWindow& mw = *w->behaviour;
    bool checked = false;
    w->app.onRun = [&](int run) {
        // Run 1 is the command's own yield, 2 and 3 the banner and the drive list.
        if (run != 3) return;
        EXPECT_EQ(f.Command5.text(), QStringLiteral("中断"));
        EXPECT_FALSE(f.Command3.enabled());
        EXPECT_FALSE(f.List1.enabled());
        EXPECT_TRUE(f.Text4.visible());
        EXPECT_FALSE(f.Dir1.visible());
        f.Command5.raiseClick();
        EXPECT_FALSE(f.Command5.enabled());
        EXPECT_TRUE(mw.scan.settings.abortRequested);
        EXPECT_EQ(f.state.run, shell::RunState::Idle);
        EXPECT_EQ(f.Command5.text(), QStringLiteral("中断"));  // until the command ends
        EXPECT_EQ(f.mousePointer(), forms::MousePointer::Arrow);
        checked = true;
    };
    mw.Command3_Click();
    ASSERT_TRUE(checked);
    EXPECT_EQ(w->list1().size(), 5);  // the banner, three drive lines and the blank line so far
    EXPECT_FALSE(w->list1().join(u'\n').contains(QStringLiteral("Total")));
    expectIdle();
    EXPECT_EQ(w->app.ends, 0);
    f.Command5.raiseClick();  // now it exits
    EXPECT_EQ(w->app.ends, 1);
}

TEST_F(ScanCommandsTest, TheOptionBoxesFollowTheirRules) {
    shell::Form1& f = *w->form;
    window::MainWindow& mw = *w->behaviour;
    f.Combo1.picked(static_cast<int>(f.Combo1.items().indexOf(QStringLiteral("User"))));
    EXPECT_EQ(f.Combo1.text(), QString());
    EXPECT_EQ(f.state.extFilter, QString());
    mw.Command1_Click();
    EXPECT_EQ(f.Combo1.text(), QStringLiteral("*"));
    EXPECT_EQ(f.state.extFilter, QStringLiteral("*"));

    f.Combo1.typed(QStringLiteral("txt"));
    EXPECT_EQ(f.state.extFilter, QStringLiteral("txt"));
    mw.Command1_Click();
    EXPECT_EQ(w->list1().size(), 4);  // banner and three .txt files, matched regardless of case

    f.Combo2.typed(QStringLiteral("ﾌｧｲﾙ"));
    EXPECT_EQ(f.state.listType, engine::ListType::Names);
    f.Combo2.typed(QStringLiteral("ﾌｧｲ"));
    EXPECT_EQ(f.Combo2.text(), QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"));
    EXPECT_EQ(f.state.listType, engine::ListType::FullPaths);

    f.Combo2.picked(1);
    EXPECT_TRUE(mw.scan.listing.typeChanged());
    f.Combo2.picked(1);  // the same entry again
    EXPECT_FALSE(mw.scan.listing.typeChanged());
    f.Combo2.picked(0);
    EXPECT_TRUE(mw.scan.listing.typeChanged());
    mw.Command3_Click();
    EXPECT_FALSE(mw.scan.listing.typeChanged());
}

TEST_F(ScanCommandsTest, PointerRulesWhileAScanRuns) {
    shell::Form1& f = *w->form;
    window::MainWindow& mw = *w->behaviour;
    w->app.onRun = [&](int run) {
        if (run != 2) return;
        f.Text11.setVisible(true);
        mw.Form_MouseMove();
        EXPECT_EQ(f.mousePointer(), forms::MousePointer::Hourglass);
        EXPECT_FALSE(f.Text11.visible());
        mw.Command5_MouseMove();
        EXPECT_EQ(f.mousePointer(), forms::MousePointer::Arrow);
    };
    mw.Command3_Click();
    mw.Form_MouseMove();
    EXPECT_EQ(f.mousePointer(), forms::MousePointer::Arrow);
}

TEST_F(ScanCommandsTest, AScanThatCannotStartSaysWhyAndStaysIdle) {
    shell::Form1& f = *w->form;
    // The work file's folder cannot be written.
    tree.remove("state");
    tree.file("state", 1);  // a file where the folder should be
    w->behaviour->Command3_Click();
    EXPECT_TRUE(f.Text10.visible());
    EXPECT_EQ(f.Text10.text(), QStringLiteral("ディレクトリ存在せず"));
    expectIdle();
    forms::advanceTimers(f, 6000);
    EXPECT_FALSE(f.Text10.visible());
    tree.remove("state");
    tree.folder("state/tolan");

    // The folder was removed: the tree and the file list go to the nearest
    // folder still there, without the removed one.
    w->open(QStringLiteral("C:\\work\\sub\\deeper"));
    tree.remove("c/work/sub");
    w->behaviour->Command3_Click();
    EXPECT_EQ(f.Text10.text(), QStringLiteral("ディレクトリ存在せず"));
    expectIdle();
    EXPECT_EQ(f.Dir1.path(), QStringLiteral("C:\\work"));
    EXPECT_EQ(f.File1.path(), QStringLiteral("C:\\work"));
    for (int i = 0; i < f.Dir1.listCount(); ++i)
        EXPECT_NE(f.Dir1.list(i), QStringLiteral("C:\\work\\sub"));
    EXPECT_EQ(f.File1.listCount(), 2);  // a.txt and b.doc

    // The drive went away after it was chosen.
    tree.folder("c2/inside");
    w->fs->setDrives([&] {
        dosfs::DriveTable t = w->fs->drives();
        t.set(u'E', tree.path("c2"));
        return t;
    }());
    w->open(QStringLiteral("E:\\inside"));
    ASSERT_EQ(f.File1.path(), QStringLiteral("E:\\inside"));
    tree.remove("c2");
    w->behaviour->Command3_Click();
    EXPECT_EQ(f.Text10.text(), QStringLiteral("ディスクなし"));
    expectIdle();
}

// After a scan the message box says what the listing on screen lacks: the
// folders that could not be read (how many), a stop, both; nothing when it
// lacks nothing.
TEST_F(ScanCommandsTest, AfterAScanTheMessageBoxSaysWhatTheListingLacks) {
    shell::Form1& f = *w->form;
    tree.folder("c/work/closed");
    const QString unreadable = QStringLiteral("読めないフォルダ 2 個: ファイルなしと表示");
    const QString stopped = QStringLiteral("中断しました: 一覧は途中までです");
    const struct {
        bool closed;
        int stopAtRun;  // 0: no stop
        QString says;   // empty: the box stays hidden
    } rows[] = {
        {true, 0, unreadable},
        {true, 8, stopped + QStringLiteral("\r\n") + unreadable},
        {false, 4, stopped},
        {false, 0, QString()},
    };
    for (const auto& row : rows) {
        if (row.closed) {
            dosfs::faults::denyFolder(tree.path("c/work/closed"));
            dosfs::faults::denyFolder(tree.path("c/work/sub/deeper"));
        }
        int runs = 0;  // the events let run during this scan
        w->app.onRun = [&](int) {
            if (++runs == row.stopAtRun) f.Command5.raiseClick();
        };
        w->behaviour->Command3_Click();
        dosfs::faults::clearAll();
        const QString shown = f.Text10.visible() ? f.Text10.text() : QString();
        EXPECT_EQ(shown, row.says) << row.stopAtRun;
        expectIdle();
        forms::advanceTimers(f, 6000);
    }
}

// The helper that reads a network or FUSE mount dies while it reads a
// folder of the scan: the scan ends there, and the message box says that
// the listing is incomplete because folders could no longer be read. The
// folder before it is read ahead beside it and may be lost with the helper:
// the listing may end before it, never after.
TEST(ScanEnd, AReaderThatDiesSaysTheListingIsIncomplete) {
    TempTree tree;
    tree.file("c/work/a/1.txt", 10);
    tree.file("c/work/b/2.txt", 10);
    const int status = inChild([&](int) {
        dosfs::faults::countAsAway(tree.path("c"));
        dosfs::faults::endReaderOf(tree.path("c/work/b"));  // in the helpers
        if (!dosfs::away::start()) return 10;
        dosfs::faults::clearAll();
        dosfs::faults::countAsAway(tree.path("c"));
        ProgramFixture w(tree);
        w.open(QStringLiteral("C:\\work"));
        w.behaviour->Command3_Click();
        const shell::Form1& f = *w.form;
        if (!f.Text10.visible() ||
            f.Text10.text() != QStringLiteral("フォルダを読めなくなり中断: 一覧は不完全です"))
            return 11;
        const QStringList lines = w.list1();
        if (!lines.contains(QStringLiteral("C:\\work")) ||
            lines.contains(QStringLiteral("C:\\work\\b")) ||
            lines.join(u'\n').contains(QStringLiteral("Total")))
            return 12;
        return f.Command5.text() == QStringLiteral("終了") && f.Command3.enabled() ? 0 : 13;
    });
    EXPECT_EQ(status, 0);
}
