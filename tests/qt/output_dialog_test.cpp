// The output settings dialog as a real window on the offscreen platform,
// opened from the menu and driven from the keyboard.

#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QAction* findAction(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

// The program over a tree whose C:\work has been scanned; D: holds the work file.
class OutputDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("c/work/a.txt", 1200);
        tree.folder("c/out");
        program = std::make_unique<app::Program>(testDrives(tree));
        program->load();
        program->form.Dir1.setPath(QStringLiteral("C:\\work"));
        program->form.Command3.raiseClick();
    }
    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
};

}  // namespace

TEST_F(OutputDialog, TypedFolderAndEnterSetTheDirectoryOfTheListingFiles) {
    shell::Form1& form = program->form;
    qtbind::QtApplication& app = program->qt;
    qtbind::FormWindow& window = program->window;
    output::OutputCommands& menu = program->output;
    ASSERT_GT(form.List1.listCount(), 3);

    findAction(&window, QStringLiteral("ファイル出力ディレクトリ設定"))->trigger();
    QWidget* dialog = app.viewOf(menu.form3);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("保存設定"));
    auto* box = qobject_cast<QLineEdit*>(
        static_cast<qtbind::FormWindow*>(dialog)->widgetOf(menu.form3.Text2));
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == box; }, 2000));
    EXPECT_EQ(box->selectedText(), QStringLiteral("C:\\"));

    QTest::keyClicks(box, QStringLiteral("C:\\out"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(form.state.settings.outputDir, QStringLiteral("C:\\out"));

    findAction(&window, QStringLiteral("FileName+Size+Date"))->trigger();
    QFile written(QString::fromUtf8(tree.path("c/out/TOLAN.TXT")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "C:\\work\\a.txt,1200,2024/01/05 5:07:09\r\n");

    // Escape is "戻る" and leaves the directory as it was.
    findAction(&window, QStringLiteral("ファイル出力ディレクトリ設定"))->trigger();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);  // select all, as the focus would
    QTest::keyClicks(box, QStringLiteral("C:\\elsewhere"));
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(form.state.settings.outputDir, QStringLiteral("C:\\out"));
}

TEST_F(OutputDialog, TheSaveAsDialogSavesATypedNameOnEnter) {
    shell::Form1& form = program->form;
    qtbind::QtApplication& app = program->qt;
    qtbind::FormWindow& window = program->window;
    output::OutputCommands& menu = program->output;

    QTest::mouseClick(qobject_cast<QPushButton*>(window.widgetOf(form.Command4)), Qt::LeftButton);
    auto* dialog = static_cast<qtbind::FormWindow*>(app.viewOf(menu.form2));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ファイル保存"));
    EXPECT_FALSE(window.isEnabled());
    auto* name = qobject_cast<QLineEdit*>(dialog->widgetOf(menu.form2.Text1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == name; }, 2000));
    QTest::keyClicks(name, QStringLiteral("C:\\work\\saved.txt"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(window.isEnabled());

    QFile saved(QString::fromUtf8(tree.path("c/work/saved.txt")));
    QFile work(QString::fromUtf8(program->fs.resolve(form.state.workFilePath).host));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    ASSERT_TRUE(work.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), work.readAll());
    EXPECT_EQ(form.Label5.text(), QStringLiteral("1"));
}
