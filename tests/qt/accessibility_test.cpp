// The main window's controls and list views as Qt's accessibility layer
// gives them to a screen reader (the AT-SPI test reads the same through the
// bus on a real display).

#include "app/program.h"
#include "platform/qt/form_window.h"
#include "platform/qt/list_view.h"

#include "platform/qt/qt_application.h"
#include "shell/form1.h"
#include "tests/support/program_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AccessibilityTest : public ::testing::Test {
  protected:
    AccessibilityTest() : form(app, fs), window(form) {
        form.startLayout();
        form.show();
        QCoreApplication::processEvents();
    }
    QAccessibleInterface* of(const forms::Control& c) {
        return QAccessible::queryAccessibleInterface(window.widgetOf(c));
    }
    qtbind::ListBoxView* view(const forms::Control& c) {
        return dynamic_cast<qtbind::ListBoxView*>(window.widgetOf(c));
    }
    qtbind::QtApplication app;
    dosfs::FileSystem fs;
    shell::Form1 form;
    qtbind::FormWindow window;
};

}  // namespace

TEST_F(AccessibilityTest, BoxesSayWhatTheyAreAndMessagesAreNamedByTheirText) {
    struct Row {
        const forms::Control& control;
        QAccessible::Role role;
        QString name;
    };
    const Row rows[] = {
        {form.Command7, QAccessible::Button, QStringLiteral("ヘルプ")},
        {form.Command9, QAccessible::Button, QStringLiteral("コメント表示")},
        {form.Text1, QAccessible::EditableText, QStringLiteral("解析ドライブ")},
        {*form.Command8[1], QAccessible::ColumnHeader, QStringLiteral("サイズ")},
        {*form.Label10[0], QAccessible::Separator, QStringLiteral("ファイル名とサイズの境界")},
        {form.Text4, QAccessible::StatusBar, QStringLiteral("処 理 中")},
        {form.List1, QAccessible::List, QStringLiteral("Ｂ面")},
        {*form.List2[0], QAccessible::Table, QStringLiteral("Ａ面 ファイル名")},
        // Drop-down boxes by their label, not by the value they show.
        {form.Combo2, QAccessible::ComboBox, QStringLiteral("出力タイプ")},
        {form.Combo1, QAccessible::ComboBox, QStringLiteral("出力拡張子")},
        {form.Drive1, QAccessible::ComboBox, QStringLiteral("ドライブ")},
    };
    form.Text4.setVisible(true);  // the busy box, as a scan shows it
    for (const Row& r : rows) {
        SCOPED_TRACE(r.control.name().toStdString());
        ASSERT_NE(of(r.control), nullptr);
        EXPECT_EQ(of(r.control)->role(), r.role);
        EXPECT_EQ(of(r.control)->text(QAccessible::Name), r.name);
    }
    EXPECT_EQ(of(form.Command3)->text(QAccessible::Description),
              form.Command3.accessibleDescription());
    EXPECT_FALSE(form.Command3.accessibleDescription().isEmpty());

    // A message box is named by the message it shows, on one line, and
    // says nothing while hidden (its design text is no message).
    EXPECT_EQ(of(form.Text3)->text(QAccessible::Name), QString());
    form.Text10.setText(QStringLiteral("C:\\TOLAN.TXT\r\nに書込み中"));
    EXPECT_EQ(of(form.Text10)->text(QAccessible::Name), QString());
    form.Text10.setVisible(true);
    EXPECT_EQ(of(form.Text10)->role(), QAccessible::Notification);
    EXPECT_EQ(of(form.Text10)->text(QAccessible::Name), QStringLiteral("C:\\TOLAN.TXT に書込み中"));
    form.Text11.setText(QStringLiteral("直接入力可能です。"));
    form.Text11.setVisible(true);
    EXPECT_EQ(of(form.Text11)->role(), QAccessible::ToolTip);
    EXPECT_EQ(of(form.Text11)->text(QAccessible::Name), QStringLiteral("直接入力可能です。"));
}

// The dialogs' controls: 保存ファイルの管理's name box, list and status, and
// the output settings' format choices as the option buttons they are.
TEST(DialogAccessibility, EveryControlIsNamedAndOptionsAreRadioButtons) {
    TempTree tree;
    SettingsFolders folders{tree};
    app::Program program(testDrives(tree));
    program.load();
    const auto open = [&](const QString& item) {
        for (QAction* a : program.window.findChildren<QAction*>())
            if (a->text() == item) a->trigger();
    };
    const auto widget = [&](forms::Form& f, const forms::Control& c) {
        return static_cast<qtbind::FormWindow*>(program.qt.viewOf(f))->widgetOf(c);
    };
    const auto of = [&](forms::Form& f, const forms::Control& c) {
        return QAccessible::queryAccessibleInterface(widget(f, c));
    };
    output::Form6& snapshots = program.output.form6;
    open(QStringLiteral("保存ファイルの管理"));
    EXPECT_EQ(of(snapshots, snapshots.Text1)->text(QAccessible::Name),
              QStringLiteral("保存ファイル名"));
    EXPECT_EQ(of(snapshots, snapshots.List1)->text(QAccessible::Name),
              QStringLiteral("保存ファイル一覧（フォルダ・日時・ファイル数）"));
    // 比較 with nothing selected: the status says so, and is read as a notice.
    QTest::mouseClick(widget(snapshots, snapshots.Command2), Qt::LeftButton);
    EXPECT_EQ(of(snapshots, snapshots.Text2)->role(), QAccessible::Notification);
    EXPECT_EQ(of(snapshots, snapshots.Text2)->text(QAccessible::Name),
              QStringLiteral("ファイルを選択して下さい"));
    QTest::mouseClick(widget(snapshots, snapshots.Command4), Qt::LeftButton);
    output::Form3& settings = program.output.form3;
    open(QStringLiteral("ファイル出力ディレクトリ設定"));
    for (forms::OptionButton* option : settings.Option1) {
        EXPECT_EQ(of(settings, *option)->role(), QAccessible::RadioButton);
        EXPECT_FALSE(of(settings, *option)->text(QAccessible::Name).isEmpty());
    }
    // A click on the other keeps exactly one chosen, on screen and in the model.
    QTest::mouseClick(widget(settings, *settings.Option1[1]), Qt::LeftButton);
    EXPECT_TRUE(settings.Option1[1]->value());
    EXPECT_FALSE(settings.Option1[0]->value());
    EXPECT_FALSE(of(settings, *settings.Option1[0])->state().checked);
    EXPECT_TRUE(of(settings, *settings.Option1[1])->state().checked);
}

TEST_F(AccessibilityTest, AMillionLinesAreReadRowByRowFromTheListStorage) {
    // Lines with a control character, an emoji, a lone surrogate and a name
    // byte that was not UTF-8 (a private-use character) among them.
    const QString odd[] = {QStringLiteral("bell\u0007 1"), QStringLiteral("smile😀.txt"),
                           QString(QChar(0xD800)) + QStringLiteral("lone"),
                           QStringLiteral("bad\uF7FFname")};
    constexpr int kLines = 1000000;
    for (int i = 0; i < kLines; ++i)
        form.List1.addItem(i % 250000 == 1 ? odd[i / 250000] : QStringLiteral("line %1").arg(i));
    view(form.List1)->catchUp();
    QAccessibleInterface* list = of(form.List1);
    QAccessibleTableInterface* table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), kLines);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(list->childCount(), kLines);
    for (int row : {0, 1, 250001, 500001, 750001, kLines - 1}) {
        SCOPED_TRACE(row);
        QAccessibleInterface* cell = table->cellAt(row, 0);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->role(), QAccessible::ListItem);
        EXPECT_EQ(cell->text(QAccessible::Name), form.List1.list(row));
        EXPECT_EQ(list->indexOfChild(cell), row);
        EXPECT_EQ(list->child(row), cell);  // asked again, the same row
    }
    // The selection and the current row are the box's.
    form.List1.setSelected(500001, true);
    EXPECT_EQ(table->selectedRows(), QList<int>{500001});
    EXPECT_TRUE(table->cellAt(500001, 0)->state().selected);
    EXPECT_FALSE(table->cellAt(500000, 0)->state().selected);

    // Cleared, the rows are gone; the rows read before are no longer valid.
    QAccessibleInterface* last = table->cellAt(kLines - 1, 0);
    form.List1.clear();
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_FALSE(last->isValid());
}

TEST_F(AccessibilityTest, SideAIsOneTableOfNameSizeAndDateUnderTheirCaptions) {
    form.List2[0]->addItem(QStringLiteral("C:\\a\\b.txt"));
    form.List2[1]->addItem(QStringLiteral("1.23"));
    form.List2[2]->addItem(QStringLiteral("2024/01/02 03:04"));
    for (forms::ListBox* l : form.List2) view(*l)->catchUp();
    // Side A's frame holds one table, not one for each column.
    QAccessibleInterface* frame = of(form.Frame1);
    int tables = 0;
    for (int i = 0; i < frame->childCount(); ++i) {
        ASSERT_NE(frame->child(i), nullptr);
        if (frame->child(i)->role() == QAccessible::Table) ++tables;
        EXPECT_EQ(frame->indexOfChild(frame->child(i)), i);
    }
    EXPECT_EQ(tables, 1);
    QAccessibleTableInterface* table = of(*form.List2[0])->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 3);
    ASSERT_EQ(table->rowCount(), 1);
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        QAccessibleInterface* cell = table->cellAt(0, c);
        EXPECT_EQ(cell->text(QAccessible::Name), form.List2[c]->list(0));
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        const auto headers = cell->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(headers[0]->text(QAccessible::Name), form.Text9[c]->text());
        EXPECT_EQ(table->columnDescription(c), form.Text9[c]->text());
    }
}
