// Every file operation of each command made to fail through the fault
// seam: each ends with its message or skip rule, the window idle, and no
// earlier file changed.

#include "tests/output/output_fixture.h"

#include "engine/module1.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/pending_files.h"

#include <cerrno>

namespace {

using dosfs::faults::Op;

struct Fault {
    Op op;
    int err;
    const char* under;  // below the tree; "" for the work file
    const char* expected;
};

class FaultTableTest : public OutputTest {
  protected:
    QByteArray host(const char* under) {
        return *under ? tree.path(under) : w->fs->resolve(main().state.workFilePath).host;
    }
    void inject(const Fault& f) {
        dosfs::faults::clearAll();
        dosfs::faults::failOperation(f.op, f.err, host(f.under));
    }
    void expectIdle() {
        EXPECT_TRUE(main().enabled());
        EXPECT_TRUE(main().Command3.enabled());
        EXPECT_TRUE(main().Command4.enabled());
        EXPECT_TRUE(main().List1.enabled());
        EXPECT_EQ(main().Command5.text(), QStringLiteral("終了"));
        EXPECT_FALSE(main().Text4.visible());
        EXPECT_FALSE(main().files.isOpen(engine::kWorkFile));
        EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(dosfs::stateFolder()) +
                                   QStringLiteral("/pending-") + QString::number(getpid())));
    }
    std::string name(const Fault& f) {
        return std::to_string(int(f.op)) + "/" + std::to_string(f.err);
    }
};

}  // namespace

TEST_F(FaultTableTest, Scan) {
    const int rows = main().List2[0]->listCount();
    const Fault faults[] = {
        {Op::Open, EACCES, "", "ディスク異常"},   // the work file
        {Op::Write, ENOSPC, "", "ディスク異常"},  // it fills up mid-scan
        {Op::Close, EIO, "", "ディスク異常"},
        {Op::Fsync, EIO, "", "ディスク異常"},
        {Op::Rename, EXDEV, "", "ディスク異常"},
        // Listed without files, and named: unreadable, or gone since the
        // parent was read.
        {Op::ReadFolder, EACCES, "c/work/sub", "読めないフォルダ 1 個: ファイルなしと表示"},
        {Op::Open, ENOENT, "c/work/sub", "読めないフォルダ 1 個: ファイルなしと表示"},
        {Op::Stat, EIO, "c/work/sub", ""},  // listed with a blank size
    };
    for (const Fault& f : faults) {
        main().Text10.setVisible(false);
        inject(f);
        main().Command3.raiseClick();
        dosfs::faults::clearAll();
        expectIdle();
        EXPECT_EQ(main().Text10.visible(), *f.expected != 0) << name(f) << " " << f.under;
        if (*f.expected) {
            EXPECT_EQ(main().Text10.text(), QString::fromUtf8(f.expected));
        }
        if (*f.expected && !*f.under && f.op != Op::Open) {
            EXPECT_EQ(main().List2[0]->listCount(), rows) << "the listing on screen stays whole";
            // Nor is the earlier scan's work file left for a save to copy.
            EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(host("")))) << name(f);
        }
        if (f.op == Op::ReadFolder) {
            EXPECT_EQ(main().List2[0]->listCount(), rows - 1);
        }
    }
}

TEST_F(FaultTableTest, SettingsSave) {
    const QByteArray path = shell::settingsPath();
    const QByteArray before = "1,2,3,4,C:\\kept,5,6,7,8,0\r\n\r\n";
    const Fault faults[] = {{Op::Open, EACCES, "", ""},
                            {Op::Write, ENOSPC, "", ""},
                            {Op::Fsync, EIO, "", ""},
                            {Op::Close, EIO, "", ""},
                            {Op::Rename, EXDEV, "", ""}};
    for (const Fault& f : faults) {
        QFile old(QString::fromLocal8Bit(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(before);
        old.close();
        dosfs::faults::clearAll();
        dosfs::faults::failOperation(f.op, f.err, path);
        EXPECT_NE(shell::SaveSettings(settings(), main()), 0) << name(f);
        dosfs::faults::clearAll();
        old.open(QIODevice::ReadOnly);
        EXPECT_EQ(old.readAll(), before) << name(f);
        // Nothing is left beside the record.
        EXPECT_TRUE(QFileInfo(QString::fromLocal8Bit(path))
                        .dir()
                        .entryList({QStringLiteral("*.tolan-*")}, QDir::Files | QDir::Hidden)
                        .isEmpty());
        expectIdle();
    }
}

TEST_F(FaultTableTest, ListingFile) {
    tree.folder("c/out");
    settings().outputDir = QStringLiteral("C:\\out");
    const Fault faults[] = {{Op::Open, EACCES, "c/out", ""},   {Op::Write, ENOSPC, "c/out", ""},
                            {Op::Fsync, EIO, "c/out", ""},     {Op::Close, EIO, "c/out", ""},
                            {Op::Rename, EACCES, "c/out", ""}, {Op::Stat, EIO, "c/out", ""}};
    for (const Fault& f : faults) {
        write("c/out/TOLAN.TXT", "earlier\r\n");
        inject(f);
        main().FR1->raiseClick();
        dosfs::faults::clearAll();
        EXPECT_EQ(main().Text10.text(), QStringLiteral("ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)"))
            << name(f);
        EXPECT_EQ(read("c/out/TOLAN.TXT"), "earlier\r\n") << name(f);
        EXPECT_EQ(entries("c/out"), QStringList{QStringLiteral("TOLAN.TXT")}) << name(f);
        expectIdle();
    }
}

TEST_F(FaultTableTest, SaveAs) {
    tree.folder("c/out");
    const Fault faults[] = {
        {Op::Open, EACCES, "c/out",
         "ファイル名指定ミス"},  // the name is tried first: the dialog says so
        {Op::Open, ENOENT, "c/out", "ディレクトリ存在せず"},
        {Op::Write, ENOSPC, "c/out", "ファイル名指定ミス"},  // the copy: the main window says so
        {Op::Fsync, EIO, "c/out", "ファイル名指定ミス"},
        {Op::Rename, EACCES, "c/out", "ファイル名指定ミス"},
        {Op::Read, EIO, "", "ファイル名指定ミス"},  // the work file
        {Op::Open, ENOENT, "", "ファイル名指定ミス"},
    };
    for (const Fault& f : faults) {
        write("c/out/LIST.TXT", "<< earlier >>\r\n");
        main().Text10.setVisible(false);
        main().Command4.raiseClick();
        menu->form2.activatedByUser();
        menu->form2.Text1.typed(QStringLiteral("C:\\out\\LIST.TXT"));
        inject(f);
        menu->form2.Command3.raiseClick();
        dosfs::faults::clearAll();
        const QString expected = QString::fromUtf8(f.expected);
        if (menu->form2.visible()) {
            EXPECT_EQ(menu->form2.Text2.text(), expected) << name(f);
            menu->form2.Command2.raiseClick();
        } else {
            EXPECT_TRUE(main().Text10.visible()) << name(f);
            EXPECT_EQ(main().Text10.text(), expected) << name(f);
        }
        EXPECT_EQ(read("c/out/LIST.TXT"), "<< earlier >>\r\n") << name(f);
        EXPECT_EQ(entries("c/out"), QStringList{QStringLiteral("LIST.TXT")}) << name(f);
        expectIdle();
    }
}

TEST_F(FaultTableTest, WriteTestOfTheOutputSettings) {
    tree.folder("c/out");
    const Fault faults[] = {{Op::Open, EACCES, "c/out", ""},
                            {Op::Close, EIO, "c/out", ""},
                            {Op::Delete, EACCES, "c/out", ""},
                            {Op::Stat, EIO, "c/out", ""}};
    for (const Fault& f : faults) {
        main().KOUT->raiseClick();
        menu->form3.Text2.typed(QStringLiteral("C:\\out"));
        inject(f);
        menu->form3.Command1.raiseClick();
        dosfs::faults::clearAll();
        EXPECT_TRUE(menu->form3.visible()) << name(f);
        EXPECT_TRUE(menu->form3.Text3.visible()) << name(f);
        EXPECT_EQ(menu->form3.Text3.text(), QStringLiteral("ディレクトリ指定が異常"));
        menu->form3.Command2.raiseClick();
        ::unlink(tree.path("c/out/TESTTL01.JRC").constData());  // left when it could not be deleted
        expectIdle();
    }
}
