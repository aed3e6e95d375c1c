// The window in the user's language: chosen from the preferred languages,
// English captions, menus and messages that fit their controls, and files
// that stay byte for byte the same whatever the window speaks.

#include "app/languages.h"
#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using app::Language;

namespace {

// The program over C:\work, output to C:\out, in `language`.
class LanguageTest : public ::testing::Test {
  protected:
    void TearDown() override { app::removeLanguage(); }
    void start(Language language) {
        app::installLanguage(language);
        program = std::make_unique<app::Program>(testDrives(tree));
        program->load();
        program->form.state.settings.outputDir = QStringLiteral("C:\\out");
        QCoreApplication::processEvents();
    }
    QString shownText(const forms::Control& c) {
        QWidget* w = program->window.widgetOf(c);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        return QString();
    }
    QStringList menuTexts() {
        QStringList texts;
        for (QAction* a : program->window.menuBar()->findChildren<QAction*>())
            if (!a->text().isEmpty()) texts << a->text();
        return texts;
    }
    // Every file a scan and the five listing files leave, by name.
    std::map<QString, QByteArray> scanAndWrite() {
        shell::Form1& f = program->form;
        f.Dir1.setPath(QStringLiteral("C:\\work"));
        f.Command3.raiseClick();
        for (forms::Menu* kind : {f.FR0, f.FR1, f.FR2, f.FR3, f.FR4}) kind->raiseClick();
        std::map<QString, QByteArray> files;
        QDir out(QString::fromUtf8(tree.path("c/out")));
        for (const QString& name : out.entryList(QDir::Files)) {
            QFile file(out.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            files[name] = file.readAll();
        }
        QByteArray& work = files[QStringLiteral("Side B")];
        // After the banner, whose clock differs from one run to the next.
        for (int i = 1; i < program->form.List1.listCount(); ++i)
            work += program->form.List1.list(i).toUtf8() + '\n';
        return files;
    }

    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
};

}  // namespace

TEST(Language, IsChosenFromTheUsersPreferredLanguages) {
    const struct {
        QStringList languages;
        Language chosen;
    } rows[] = {
        {{"C"}, Language::Japanese},  // LANG=C, C.UTF-8, POSIX
        {{}, Language::Japanese},     // nothing set
        {{"ja-JP", "ja-Jpan-JP", "ja"}, Language::Japanese},
        {{"en-US", "en-Latn-US", "en"}, Language::English},
        {{"en", "en-Latn-US", "en-US"}, Language::English},  // LANGUAGE=en, LANG=ja_JP
        {{"ja", "ja-Jpan-JP", "en"}, Language::Japanese},    // LANGUAGE=ja:en
        {{"de-DE", "de-Latn-DE", "de"}, Language::English},  // no catalogue of its own
        {{"ko-KR", "ko-Kore-KR", "ko"}, Language::English},
        {{"ar-EG", "ar"}, Language::English},
        {{"xx-invalid", "C"}, Language::English},  // an invalid LANG
        {{"jam"}, Language::English},              // Jamaican, not Japanese
    };
    for (const auto& r : rows)
        EXPECT_EQ(app::chooseLanguage(r.languages), r.chosen)
            << r.languages.join(',').toStdString();
}

TEST_F(LanguageTest, EnglishCaptionsMenusAndMessagesAndTheSameFilesAsInJapanese) {
    tree.file("c/work/日本語の名前.txt", 1234);
    tree.file("c/work/sub/b.dat", 99);
    tree.folder("c/out");
    std::map<QString, QByteArray> japanese;
    for (const Language language : {Language::Japanese, Language::English}) {
        start(language);
        const bool english = language == Language::English;
        shell::Form1& f = program->form;
        const struct {
            const forms::Control& control;
            const char* japanese;
            const char* english;
        } captions[] = {
            {f.Command3, "ﾌｧｲﾙ表示１", "With totals"},
            {f.Command1, "ﾌｧｲﾙ表示２", "Files only"},
            {f.Command6, "ﾌｫｰﾙﾀﾞ容量表示", "Folder sizes"},
            {f.Command5, "終了", "Quit"},
            {f.Command9, "cmnt ON", "Hints: on"},  // the state, as after each click
            {f.Label8, "解析対象ﾃﾞｨﾚｸﾄﾘ", "Folder to scan"},
            {*f.Text9[2], "更新日時", "Modified"},
        };
        for (const auto& c : captions)
            EXPECT_EQ(shownText(c.control), QString::fromUtf8(english ? c.english : c.japanese));
        EXPECT_TRUE(menuTexts().contains(english ? QStringLiteral("Print...")
                                                 : QStringLiteral("プリント出力")));
        EXPECT_EQ(program->window.windowTitle(), english ? QStringLiteral("Tolan - Folder Listing")
                                                         : QStringLiteral("Tolan-ﾌｧｲﾙ表示ﾌﾟﾛｸﾞﾗﾑ"));
        // The model keeps the texts of record; only the screen changes.
        EXPECT_EQ(f.Command5.text(), QStringLiteral("終了"));

        // A folder that is gone: the message box says so in the language.
        app::openStartFolder(f, tree.path("c/gone"));
        EXPECT_EQ(shownText(f.Text10).trimmed(), english ? QStringLiteral("No such folder")
                                                         : QStringLiteral("ディレクトリ存在せず"));

        const std::map<QString, QByteArray> files = scanAndWrite();
        EXPECT_EQ(files.size(), 6u);
        if (english)
            EXPECT_EQ(files, japanese);
        else
            japanese = files;
        program.reset();
        app::removeLanguage();
        QDir(QString::fromUtf8(tree.path("c/out"))).removeRecursively();
        tree.folder("c/out");
    }
}

// At the scale factor of the run, in either language: every caption of the
// main window and of its dialogs fits its control in the shipped fonts.
TEST_F(LanguageTest, ScaledCaptionsFitTheirControlsInEitherLanguage) {
    for (const Language language : {Language::Japanese, Language::English}) {
        start(language);
        output::OutputCommands& menu = program->output;
        std::vector<QWidget*> windows{&program->window};
        for (forms::Form* dialog : std::initializer_list<forms::Form*>{
                 &menu.form2, &menu.form3, &menu.form3.chooser, &menu.form6}) {
            dialog->show();
            windows.push_back(program->qt.viewOf(*dialog));
        }
        int checked = 0;
        for (QWidget* window : windows) {
            ASSERT_NE(window, nullptr);
            for (QWidget* w : window->findChildren<QWidget*>()) {
                QString text;
                int room = 0;
                if (auto* label = qobject_cast<QLabel*>(w)) {
                    text = label->text();
                    room = label->contentsRect().width();
                } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                    text = button->text().remove(u'&');
                    // A push button's frame; a check or option button's mark.
                    room = button->contentsRect().width() - 6 -
                           (qobject_cast<QPushButton*>(w) ? 0 : button->iconSize().width() + 8);
                } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                    text = group->title();
                    room = group->width() - 16;
                }
                if (text.isEmpty() || text.contains(u'\n')) continue;
                ++checked;
                EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(text), room)
                    << text.toStdString() << " in " << window->windowTitle().toStdString() << " at "
                    << w->devicePixelRatioF();
            }
        }
        EXPECT_GE(checked, 25);
        program.reset();
    }
}
