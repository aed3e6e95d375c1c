// 除外設定 as a real window on the offscreen platform: opened from the menu,
// typed into, accepted or refused, and the scans after it.

#include "app/program.h"
#include "shell/exclusion_file.h"
#include "tests/support/program_fixture.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QAction* findAction(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

}  // namespace

TEST(ExclusionDialog, TypedPatternsAreCheckedKeptAndHonouredByTheNextScan) {
    TempTree tree;
    for (const char* name : {"c/work/a.txt", "c/work/b.o", "c/work/.git/config", "c/work/sub/c.txt",
                             "c/work/sub/node_modules/x.js", "c/work/back\\slash.o"})
        tree.file(name, 1200);
    SettingsFolders folders{tree};
    app::Program program(testDrives(tree));
    program.load();
    shell::Form1& form = program.form;
    output::Form7& dialog = program.output.form7;
    form.Dir1.setPath(QStringLiteral("C:\\work"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&program.window));

    const struct {
        const char* typed;  // lines, each ended by Enter; "" for Escape at once
        bool accepted;
        const char* said;     // the dialog's message when refused, else the scan's
        const char* kept;     // the exclusion file after it
        const char* leftOut;  // a name the listing then lacks
        const char* listed;   // one it still has
    } rows[] = {
        {"*.o\n.git/", true, "除外設定により 3 件を除外しました", "*.o\n.git/\n", "b.o", "a.txt"},
        {"ok\na[", false, "2行目のﾊﾟﾀｰﾝが異常: a[", "*.o\n.git/\n", "slash.o", "c.txt"},
        {"", false, "", "*.o\n.git/\n", ".git", "c.txt"},
        {"node_modules/", true, "除外設定により 1 件を除外しました", "node_modules/\n", "x.js",
         "b.o"},
    };
    for (const auto& row : rows) {
        findAction(&program.window, QStringLiteral("除外設定"))->trigger();
        QWidget* view = program.qt.viewOf(dialog);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->windowTitle(), QStringLiteral("除外設定"));
        auto* box = qobject_cast<QPlainTextEdit*>(
            static_cast<qtbind::FormWindow*>(view)->widgetOf(dialog.Text1));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(view->isVisible());
        // Opened from the menu, again and again, it takes the focus to its
        // patterns: what the user types at once goes there.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return QApplication::activeWindow() == view && QApplication::focusWidget() == box;
            },
            2000));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (!*row.typed) {
            QTest::keyClicks(box, QStringLiteral("zzz"));
            QTest::keyClick(box, Qt::Key_Escape);  // 戻る: nothing changes
        } else {
            const QStringList lines = QString::fromUtf8(row.typed).split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) QTest::keyClick(box, Qt::Key_Return);  // a new line, not 決定
                QTest::keyClicks(box, lines[i]);
            }
            EXPECT_TRUE(view->isVisible());
            QTest::mouseClick(static_cast<qtbind::FormWindow*>(view)->widgetOf(dialog.Command1),
                              Qt::LeftButton);
        }
        EXPECT_EQ(view->isVisible(), *row.typed && !row.accepted) << row.typed;
        if (view->isVisible()) {
            EXPECT_EQ(dialog.Text3.text(), QString::fromUtf8(row.said));
            EXPECT_EQ(box->toPlainText(), QString::fromUtf8(row.typed));  // kept to mend
            EXPECT_EQ(QApplication::focusWidget(), box);                  // where it is mended
            QTest::keyClick(box, Qt::Key_Escape);
        }
        QFile kept(QString::fromLocal8Bit(shell::exclusionFilePath()));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray(row.kept));

        form.Command3.raiseClick();
        QString listing;
        for (int i = 0; i < form.List1.listCount(); ++i) listing += form.List1.list(i) + u'\n';
        EXPECT_FALSE(listing.contains(QString::fromUtf8(row.leftOut))) << listing.toStdString();
        EXPECT_TRUE(listing.contains(QString::fromUtf8(row.listed)));
        if (row.accepted) {
            EXPECT_EQ(form.Text10.text(), QString::fromUtf8(row.said));
        }
    }
}
