// 保存ファイルの管理 as a real window on the offscreen platform: the snapshot
// it saves and the comparison it puts in Side B are those tolan-list writes.

#include "app/program.h"
#include "platform/qt/list_view.h"
#include "tests/support/program_fixture.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QAction* findAction(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

QByteArray tolanList(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOLAN_LIST), args);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

// A snapshot's lines after its first, which says when and with which
// drives it was made.
QByteArray belowFirstLine(const QByteArray& snapshot) {
    return snapshot.mid(snapshot.indexOf('\n') + 1);
}

}  // namespace

TEST(SnapshotDialog, SavesComparesAndDeletesAsTolanListDoes) {
    TempTree tree;
    SettingsFolders folders{tree};
    tree.file("c/work/a.txt", 1200);
    tree.file("c/work/1/2/3/4/5/6/7/8/9/deep.txt", 5);
    tree.folder("c/out");
    {
        QFile notes(QString::fromUtf8(tree.path("c/out/notes.txt")));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("my notes\n");
    }
    app::Program program(testDrives(tree));
    program.load();
    shell::Form1& form = program.form;
    form.state.settings.outputDir = QStringLiteral("C:\\out");
    form.Dir1.setPath(QStringLiteral("C:\\work"));
    QTest::mouseClick(qobject_cast<QPushButton*>(program.window.widgetOf(form.Command3)),
                      Qt::LeftButton);
    // The listing stops eight levels down and says so.
    EXPECT_TRUE(form.Text10.visible());
    EXPECT_TRUE(form.Text10.text().startsWith(QStringLiteral("8階層より深い 1 個のフォルダ")));

    output::Form6& dialog = program.output.form6;
    findAction(&program.window, QStringLiteral("保存ファイルの管理"))->trigger();
    auto* view = static_cast<qtbind::FormWindow*>(program.qt.viewOf(dialog));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("保存ファイルの管理"));
    auto* name = qobject_cast<QLineEdit*>(view->widgetOf(dialog.Text1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == name; }, 2000));
    EXPECT_EQ(name->selectedText(), dialog.offeredName());
    EXPECT_TRUE(name->text().startsWith(QStringLiteral("work_"))) << name->text().toStdString();
    // The overwrite guard: a file that is not a snapshot stays as it is.
    QTest::keyClicks(name, QStringLiteral("notes.txt"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.Text2.text(), QStringLiteral("このファイルに上書きできません。"));
    QFile notes(QString::fromUtf8(tree.path("c/out/notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), "my notes\n");
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("snap.jsonl"));
    QTest::keyClick(name, Qt::Key_Return);

    const QString drive = QStringLiteral("--drive=C:=") + tree.path("c");
    QFile saved(QString::fromUtf8(tree.path("c/out/snap.jsonl")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    // The same lines but the first, which holds each one's drives and time.
    EXPECT_EQ(belowFirstLine(saved.readAll()),
              belowFirstLine(tolanList(
                  {drive, QStringLiteral("--format=jsonl"), QStringLiteral("C:\\work")})));
    ASSERT_EQ(dialog.List1.listCount(), 1);
    EXPECT_TRUE(dialog.List1.list(0).startsWith(QStringLiteral("snap.jsonl  C:\\work  ")));
    EXPECT_TRUE(dialog.List1.list(0).endsWith(QStringLiteral("  2 ファイル")));

    // The folder changes; the comparison with the snapshot selected goes to
    // Side B and the work file.
    tree.file("c/work/new.txt", 10);
    tree.remove("c/work/1/2/3/4/5/6/7/8/9/deep.txt");
    auto* list = dynamic_cast<qtbind::ListBoxView*>(view->widgetOf(dialog.List1));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 1; }, 2000));
    const QRect row0 = list->rowRect(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
    QTest::mouseClick(qobject_cast<QPushButton*>(view->widgetOf(dialog.Command2)), Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    const QByteArray expected = tolanList(
        {drive, QStringLiteral("--compare"), QString::fromUtf8(tree.path("c/out/snap.jsonl")),
         QStringLiteral("--encoding=utf-8"), QStringLiteral("C:\\work")});
    // Above tolan-list's lines, the two sides compared.
    QStringList sideB;
    for (int i = 0; i < form.List1.listCount(); ++i) sideB.append(form.List1.list(i));
    ASSERT_GE(sideB.size(), 3);
    EXPECT_TRUE(sideB[0].startsWith(QStringLiteral("Before: snap.jsonl  C:\\work  20")));
    EXPECT_TRUE(sideB[1].startsWith(QStringLiteral("After:  C:\\work  20")));
    EXPECT_EQ(sideB[2], QString());
    const QByteArray heading = (sideB.mid(0, 3).join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
    sideB.remove(0, 3);
    EXPECT_EQ((sideB.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(), expected);
    EXPECT_TRUE(
        expected.endsWith("Added 1  Removed 1  Changed 0  Unchanged 1  Bytes 1205 -> 1210\r\n"));
    QFile work(QString::fromUtf8(program.fs.resolve(form.state.workFilePath).host));
    ASSERT_TRUE(work.open(QIODevice::ReadOnly));
    EXPECT_EQ(work.readAll(), heading + tolanList({drive, QStringLiteral("--compare"),
                                                   QString::fromUtf8(tree.path("c/out/snap.jsonl")),
                                                   QStringLiteral("C:\\work")}));
    EXPECT_TRUE(form.Text10.text().contains(QStringLiteral("追加 1  削除 1  変更 0")));
    EXPECT_FALSE(form.Text10.text().contains(QStringLiteral("除外設定")));

    // With another folder shown, the first press of 比較 says whose snapshot
    // it is and compares nothing; the second compares.
    form.Dir1.setPath(QStringLiteral("C:\\work\\1"));
    QTest::mouseClick(qobject_cast<QPushButton*>(program.window.widgetOf(form.Command3)),
                      Qt::LeftButton);
    findAction(&program.window, QStringLiteral("保存ファイルの管理"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 1; }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
    auto* compare = qobject_cast<QPushButton*>(view->widgetOf(dialog.Command2));
    QTest::mouseClick(compare, Qt::LeftButton);
    EXPECT_EQ(dialog.Text2.text(),
              QStringLiteral("snap.jsonl は C:\\work の保存ファイルです。もう一度「比較」で比較"));
    EXPECT_TRUE(view->isVisible());
    // The window's scans now leave out what the snapshot's did not: the
    // message says so below the counts.
    engine::BadPattern bad;
    ASSERT_TRUE(engine::Exclusions::compile({"*.zzz"}, form.state.exclusions, bad));
    QTest::mouseClick(compare, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(form.List1.list(1).startsWith(QStringLiteral("After:  C:\\work\\1  ")));
    EXPECT_TRUE(form.Text10.text().endsWith(QStringLiteral("\n除外設定が保存時と違います")))
        << form.Text10.text().toStdString();

    // 削除 asks first: the second press deletes. Escape is 戻る.
    findAction(&program.window, QStringLiteral("保存ファイルの管理"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 1; }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
    auto* remove = qobject_cast<QPushButton*>(view->widgetOf(dialog.Command3));
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(saved.fileName()));
    EXPECT_TRUE(dialog.Text2.text().startsWith(QStringLiteral("snap.jsonl を削除します")));
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(saved.fileName()));
    EXPECT_EQ(dialog.List1.listCount(), 0);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(program.window.isEnabled());
}

// 保存 never replaces a file without asking: the name offered is one not
// taken (the scan's time, then a number; the time of now before any scan),
// and a name that is there, offered or typed, is replaced only by a second
// press, on the button that then reads 上書保存.
TEST(SnapshotDialog, ReplacesNoSnapshotWithoutAsking) {
    TempTree tree;
    SettingsFolders folders{tree};
    tree.file("c/work/a.txt", 1200);
    tree.folder("c/out");
    const QString drive = QStringLiteral("--drive=C:=") + tree.path("c");
    const QByteArray after =
        tolanList({drive, QStringLiteral("--format=jsonl"), QStringLiteral("C:\\work")});
    {
        QFile f(QString::fromUtf8(tree.path("c/out/after.jsonl")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(after);
    }
    // A pipe among them is neither read nor written: the dialog opens.
    ASSERT_EQ(::mkfifo(tree.path("c/out/pipe.jsonl").constData(), 0600), 0);
    app::Program program(testDrives(tree));
    program.load();
    shell::Form1& form = program.form;
    form.state.settings.outputDir = QStringLiteral("C:\\out");
    output::Form6& dialog = program.output.form6;
    QAction* manage = findAction(&program.window, QStringLiteral("保存ファイルの管理"));

    // Before any scan: now, not the start of 1970.
    manage->trigger();
    auto* view = static_cast<qtbind::FormWindow*>(program.qt.viewOf(dialog));
    ASSERT_NE(view, nullptr);
    auto* name = qobject_cast<QLineEdit*>(view->widgetOf(dialog.Text1));
    auto* save = qobject_cast<QPushButton*>(view->widgetOf(dialog.Command1));
    auto* back = qobject_cast<QPushButton*>(view->widgetOf(dialog.Command4));
    const QString today = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd"));
    EXPECT_TRUE(name->text().startsWith(QStringLiteral("C_") + today))
        << name->text().toStdString();
    QTest::mouseClick(back, Qt::LeftButton);

    form.Dir1.setPath(QStringLiteral("C:\\work"));
    QTest::mouseClick(qobject_cast<QPushButton*>(program.window.widgetOf(form.Command3)),
                      Qt::LeftButton);
    auto read = [&](const QByteArray& rel) {
        QFile f(QString::fromUtf8(tree.path(rel)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    // Two 保存 of one scan, the folder changed between them: the second is
    // offered a name of its own.
    manage->trigger();
    const QString first = name->text();
    EXPECT_TRUE(first.startsWith(QStringLiteral("work_"))) << first.toStdString();
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(dialog.Text2.text(), QStringLiteral("保存しました"));
    const QByteArray firstBytes = read(("c/out/" + first).toUtf8());
    EXPECT_EQ(belowFirstLine(firstBytes), belowFirstLine(after));
    tree.file("c/work/b.txt", 10);
    QTest::mouseClick(back, Qt::LeftButton);
    manage->trigger();
    const QString second = name->text();
    EXPECT_EQ(second, first.chopped(6) + QStringLiteral("_2.jsonl"));
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(read(("c/out/" + first).toUtf8()), firstBytes);
    EXPECT_NE(read(("c/out/" + second).toUtf8()), firstBytes);

    // The same name again, and a typed name that is there: asked first.
    const struct {
        QString typed;
        QByteArray before;
    } rows[] = {{second, read(("c/out/" + second).toUtf8())},
                {QStringLiteral("after.jsonl"), after}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        const QByteArray rel = ("c/out/" + row.typed).toUtf8();
        tree.file("c/work/c" + QByteArray::number(row.typed.size()) + ".txt", 5);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, row.typed);
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog.Text2.text(),
                  row.typed + QStringLiteral(" は既にあります。もう一度「上書保存」で上書き"));
        EXPECT_EQ(save->text(), QStringLiteral("上書保存"));
        EXPECT_EQ(read(rel), row.before);
        // Another name is asked about afresh.
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClick(name, Qt::Key_Backspace);
        EXPECT_EQ(save->text(), QStringLiteral("保存"));
        QTest::keyClicks(name, QStringLiteral("l"));
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_EQ(read(rel), row.before);
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_EQ(dialog.Text2.text(), QStringLiteral("保存しました"));
        EXPECT_EQ(save->text(), QStringLiteral("保存"));
        EXPECT_EQ(belowFirstLine(read(rel)),
                  belowFirstLine(tolanList(
                      {drive, QStringLiteral("--format=jsonl"), QStringLiteral("C:\\work")})));
    }
    EXPECT_EQ(read(("c/out/" + first).toUtf8()), firstBytes);

    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("pipe.jsonl"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.Text2.text(), QStringLiteral("このファイルに上書きできません。"));
    const int pipeRow = static_cast<int>(dialog.names.indexOf(QStringLiteral("pipe.jsonl")));
    ASSERT_GE(pipeRow, 0);
    auto* list = dynamic_cast<qtbind::ListBoxView*>(view->widgetOf(dialog.List1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == dialog.names.size(); }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(pipeRow).center());
    QTest::mouseClick(qobject_cast<QPushButton*>(view->widgetOf(dialog.Command2)), Qt::LeftButton);
    EXPECT_EQ(dialog.Text2.text(), QStringLiteral("比較できません: 通常のファイルではありません"));
    EXPECT_TRUE(view->isVisible());
}

// 開く shows a saved scan in Side A and Side B as its scan showed them,
// after the folder is gone, and says which it is; a damaged one is refused
// in the dialog and changes nothing shown.
TEST(SnapshotDialog, OpensASavedScanAsItsScanShowedIt) {
    TempTree tree;
    SettingsFolders folders{tree};
    tree.file("c/work/a.txt", 1200);
    tree.file("c/work/資料/b,\"q\".txt", 77);
    tree.file("c/work/ﾃｽﾄ/bad\xff.dat", 5);
    tree.folder("c/work/empty");
    tree.folder("c/out");
    app::Program program(testDrives(tree));
    program.load();
    shell::Form1& form = program.form;
    form.state.settings.outputDir = QStringLiteral("C:\\out");
    form.Dir1.setPath(QStringLiteral("C:\\work"));
    QTest::mouseClick(qobject_cast<QPushButton*>(program.window.widgetOf(form.Command3)),
                      Qt::LeftButton);
    const auto lines = [](const forms::ListBox& list) {
        QStringList out;
        for (int i = 0; i < list.listCount(); ++i) out.append(list.list(i));
        return out;
    };
    const QStringList sideB = lines(form.List1), sideA = lines(*form.List2[0]);
    ASSERT_GT(sideB.size(), 8);

    output::Form6& dialog = program.output.form6;
    QAction* manage = findAction(&program.window, QStringLiteral("保存ファイルの管理"));
    manage->trigger();
    auto* view = static_cast<qtbind::FormWindow*>(program.qt.viewOf(dialog));
    auto* name = qobject_cast<QLineEdit*>(view->widgetOf(dialog.Text1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == name; }, 2000));
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("b.jsonl"));
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(dialog.Text2.text(), QStringLiteral("保存しました"));
    {
        QFile damaged(QString::fromUtf8(tree.path("c/out/a.jsonl")));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"type\":\"snapshot\",\"program\":\"tolan\",\"format\":2\n");
    }
    QDir(QString::fromUtf8(tree.path("c/work"))).removeRecursively();
    QTest::mouseClick(qobject_cast<QPushButton*>(view->widgetOf(dialog.Command4)), Qt::LeftButton);
    manage->trigger();
    auto* list = dynamic_cast<qtbind::ListBoxView*>(view->widgetOf(dialog.List1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 2; }, 2000));
    auto* open = qobject_cast<QPushButton*>(view->widgetOf(dialog.Command5));
    ASSERT_NE(open, nullptr);

    // The damaged one (first in the list) is refused where it was chosen.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(dialog.Text2.text().startsWith(QStringLiteral("開けません: line 1: ")))
        << dialog.Text2.text().toStdString();
    EXPECT_EQ(lines(form.List1), sideB);

    ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 2; }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(1).center());
    ASSERT_EQ(dialog.List1.listIndex(), 1);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible()) << dialog.Text2.text().toStdString();
    // The banner names the snapshot's time, a second or so after the scan's.
    const QStringList shown = lines(form.List1);
    ASSERT_EQ(shown.size(), sideB.size());
    EXPECT_EQ(shown.mid(1), sideB.mid(1));
    EXPECT_EQ(lines(*form.List2[0]), sideA);
    EXPECT_TRUE(form.Text10.visible());
    EXPECT_TRUE(form.Text10.text().startsWith(QStringLiteral("保存ファイルの表示 (20")))
        << form.Text10.text().toStdString();
}

// The search box finds names across every snapshot of the output directory
// and lists them as tolan-list --find prints them; a search that runs ends
// at 中止 or at a new search; a snapshot deleted meanwhile is named.
TEST(SnapshotDialog, SearchFindsNamesAcrossEverySnapshotWhileTheWindowRuns) {
    TempTree tree;
    SettingsFolders folders{tree};
    tree.file("c/work/a.odt", 1200);
    tree.file("c/work/docs/b.odt", 5);
    tree.file("c/work/docs/c.txt", 7);
    tree.folder("c/out");
    const QString drive = QStringLiteral("--drive=C:=") + tree.path("c");
    const QByteArray snapshot =
        tolanList({drive, QStringLiteral("--format=jsonl"), QStringLiteral("C:\\work")});
    constexpr int kSnapshots = 300;
    for (int i = 0; i < kSnapshots; ++i) {
        QFile f(QString::fromUtf8(tree.path("c/out/s" + QByteArray::number(1000 + i) + ".jsonl")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(snapshot);
    }
    app::Program program(testDrives(tree));
    program.load();
    program.form.state.settings.outputDir = QStringLiteral("C:\\out");
    output::Form6& dialog = program.output.form6;
    output::Form6Search& search = dialog.search;
    findAction(&program.window, QStringLiteral("保存ファイルの管理"))->trigger();
    auto* view = static_cast<qtbind::FormWindow*>(program.qt.viewOf(dialog));
    auto* box = qobject_cast<QLineEdit*>(view->widgetOf(search.Text3));
    auto* button = qobject_cast<QPushButton*>(view->widgetOf(search.Command5));
    ASSERT_TRUE(box && button);
    const auto status = [&] { return search.Label5.text(); };
    const auto rows = [&] {
        QStringList out;
        for (int i = 0; i < search.List2.listCount(); ++i) out.append(search.List2.list(i));
        return out;
    };
    const auto find = [&](const QString& pattern) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, pattern);
        QTest::keyClick(box, Qt::Key_Return);
    };

    // As tolan-list finds them, snapshot by snapshot in the list's order.
    find(QStringLiteral("*.odt"));
    EXPECT_EQ(status(), QStringLiteral("%1 件見つかりました").arg(2 * kSnapshots));
    QProcess p;
    p.setWorkingDirectory(QString::fromUtf8(tree.path("c/out")));
    p.start(QStringLiteral(TOLAN_LIST),
            QStringList{QStringLiteral("--find=*.odt"), QStringLiteral("--encoding=utf-8")} +
                dialog.names);
    p.waitForFinished(60000);
    QStringList expected;
    // Its lines with the file put first: "SIZE DATE  SNAPSHOT: PATH".
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (!line.isEmpty())
            expected.append(line.mid(31).chopped(1) + QStringLiteral("  ") +
                            line.left(29).trimmed());
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(search.results().size(), size_t(2 * kSnapshots));
    EXPECT_TRUE(view->isVisible());

    // 中止 pressed while it runs (events run between snapshots): it ends
    // there, with what it found so far.
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    find(QStringLiteral("*.odt"));
    EXPECT_TRUE(status().startsWith(QStringLiteral("中止しました"))) << status().toStdString();
    EXPECT_LT(search.List2.listCount(), 2 * kSnapshots);
    EXPECT_EQ(button->text(), QStringLiteral("検索"));
    // A new search while one runs takes its place.
    QTimer::singleShot(0, box, [&] { find(QStringLiteral("c.*")); });
    find(QStringLiteral("*.odt"));
    EXPECT_EQ(status(), QStringLiteral("%1 件見つかりました").arg(kSnapshots));
    EXPECT_TRUE(
        rows().first().startsWith(QStringLiteral("s1000.jsonl: C:\\work\\docs\\c.txt  7 ")));

    // Patterns that cannot be searched for, and a snapshot deleted since the
    // list was read.
    find(QStringLiteral("[ab"));
    EXPECT_EQ(status(), QStringLiteral("検索するファイル名の「[」が閉じていません"));
    tree.remove("c/out/s1000.jsonl");
    find(QStringLiteral("b.odt"));
    EXPECT_EQ(status(),
              QStringLiteral("%1 件見つかりました  読めない保存ファイル 1 個（s1000.jsonl "
                             "はありません）")
                  .arg(kSnapshots - 1));

    // A file found, double-clicked: its snapshot shown in the main window
    // with the file's row selected in Side A.
    auto* found = dynamic_cast<qtbind::ListBoxView*>(view->widgetOf(search.List2));
    ASSERT_NE(found, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return found->rowCount() > 0; }, 2000));
    QTest::mouseClick(found->viewport(), Qt::LeftButton, {}, found->rowRect(0).center());
    ASSERT_EQ(search.List2.listIndex(), 0);
    QTest::mouseDClick(found->viewport(), Qt::LeftButton, {}, found->rowRect(0).center());
    EXPECT_FALSE(view->isVisible()) << dialog.Text2.text().toStdString();
    const forms::ListBox& sideA = *program.form.List2[0];
    ASSERT_TRUE(sideA.anySelected());
    EXPECT_EQ(sideA.list(sideA.firstSelectedRun().first), QStringLiteral("C:\\work\\docs\\b.odt"));
    EXPECT_TRUE(
        program.form.Text10.text().contains(QStringLiteral("時点):\r\nC:\\work")));
}
