#include "output/form3.h"
#include "platform/forms/shown_text.h"

#include "engine/renderings.h"
#include "output/listing_records.h"
#include "output/listing_writer.h"
#include "platform/dosfs/numbered_files.h"
#include "shell/design.h"
#include "shell/messages.h"
#include "shell/settings.h"

namespace output {

using shell::make;

namespace {

const QString kExampleAtStart =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "指定例：C:\\ , C:\\WINDOWS"));
const QString kExample = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "指定例： C:\\WINDOWS"));
const QString kBadDirectory = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディレクトリ指定が異常"));

forms::TextBox& lockedBox(forms::TextBox& box) {
    box.setLocked(true);
    return box;
}

forms::TextBox& messageBox(forms::TextBox& box) {
    box.setLocked(true);
    box.setBackColor(forms::kBrightRed);
    box.setForeColor(0xFFFFFF);
    box.setVisible(false);
    return box;
}

}  // namespace

Form3::Form3(shell::MainLink m)
    : Form(m.window.app(), QStringLiteral("Form3")),
      main(m),
      Frame1(
          make<forms::Frame>(*this, "Frame1", -1, nullptr, 120, 90, 5760, 1665,
                             QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ディレクトリ指定")))),
      Label3(make<forms::Label>(*this, "Label3", -1, &Frame1, 195, 375, 1110, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "現在の設定")))),
      Text1(lockedBox(
          make<forms::TextBox>(*this, "Text1", -1, &Frame1, 1335, 330, 4275, 330, QString()))),
      Label4(make<forms::Label>(*this, "Label4", -1, &Frame1, 195, 795, 1110, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "変更設定")))),
      Text2(make<forms::TextBox>(*this, "Text2", -1, &Frame1, 1335, 750, 4275, 330, QString())),
      Text4(lockedBox(make<forms::TextBox>(*this, "Text4", -1, &Frame1, 1335, 1170, 3120, 300,
                                           forms::shown(kExampleAtStart)))),
      Text3(messageBox(make<forms::TextBox>(*this, "Text3", -1, &Frame1, 1335, 1170, 3120, 300,
                                            forms::shown(kBadDirectory)))),
      Command3(make<forms::CommandButton>(*this, "Command3", -1, &Frame1, 4575, 1155, 1035, 345,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "参照")))),
      Frame2(
          make<forms::Frame>(*this, "Frame2", -1, nullptr, 120, 1845, 5760, 855,
                             QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル出力形式指定")))),
      Label1(make<forms::Label>(*this, "Label1", -1, &Frame2, 195, 420, 1500, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "出力ファイル形式")))),
      Option1{
          &make<forms::OptionButton>(*this, "Option1", 0, &Frame2, 1800, 390, 255, 285, QString()),
          &make<forms::OptionButton>(*this, "Option1", 1, &Frame2, 3600, 390, 255, 285, QString())},
      Label5(make<forms::Label>(*this, "Label5", -1, &Frame2, 2070, 420, 1350, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "カンマ区切り")))),
      Label2(make<forms::Label>(*this, "Label2", -1, &Frame2, 3870, 420, 1500, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ＣＳＶ形式")))),
      Command1(make<forms::CommandButton>(*this, "Command1", -1, nullptr, 3180, 2850, 1260, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "決定")))),
      Command2(make<forms::CommandButton>(*this, "Command2", -1, nullptr, 4620, 2850, 1260, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "戻る")))),
      Timer1(shell::timer(*this, "Timer1", 5000, true)),
      chooser(*this, m) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存設定")));
    setWidth(kWidth);
    setHeight(kHeight);
    Option1[0]->setValue(true);
    defaultButton = &Command1;
    cancelButton = &Command2;
    shell::describe(Text1, Label3);
    shell::describe(Text2, Label4);
    shell::describe(*Option1[0], Label5);
    shell::describe(*Option1[1], Label2);
    shell::describe(Text4, forms::AccessibleRole::Hint);
    shell::describe(Text3, forms::AccessibleRole::Message);

    Load = [this] { Form_Load(); };
    Activate = [this] { Form_Activate(); };
    Unload = [this] { Form_Unload(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    // The captions beside the option buttons pick them too.
    Label5.Click = [this] { Option1[0]->setValue(true); };
    Label2.Click = [this] { Option1[1]->setValue(true); };
}

void Form3::open() {
    main.window.setEnabled(false);
    if (visible()) {
        bringToFront();
        return;
    }
    load();
    setTop(static_cast<int>(shell::leadingNumber(main.state.settings.settingsDialogTop)));
    setLeft(static_cast<int>(shell::leadingNumber(main.state.settings.settingsDialogLeft)));
    show();
    Text2.setFocus();
}

void Form3::Form_Load() {
    const shell::Settings& s = main.state.settings;
    setEnabled(true);
    Text3.setVisible(false);
    Text4.setText(forms::shown(kExampleAtStart));
    Text4.setVisible(true);
    Timer1.restart();
    Text1.setText(s.outputDir);
    outputDirBackup = s.outputDir;
    Text2.setText(s.outputDir);
    Option1[s.csvOutput != 0 ? 1 : 0]->setValue(true);
    if (onNoDrive(main.fs, s.outputDir)) showNoDrive(s.outputDir);
}

// Said in place of the example, which comes back after five seconds.
void Form3::showNoDrive(const QString& folder) {
    Timer1.restart();
    Text4.setVisible(false);
    Text3.setText(folder + forms::shown(shell::kNoDriveSuffix));
    Text3.setVisible(true);
}

void Form3::Form_Activate() {
    main.window.setEnabled(true);
}

// Closed by its window: the settings stay as they are, the main window is
// usable again and the chooser goes with it.
void Form3::Form_Unload() {
    if (chooser.visible()) chooser.hide();
    hide();
    main.window.setEnabled(true);
}

void Form3::Timer1_Timer() {
    Text3.setVisible(false);
    Text4.setText(kExample);
    Text4.setVisible(true);
    Timer1.setTimerEnabled(false);
}

void Form3::Command1_Click() {
    shell::Settings& s = main.state.settings;
    s.outputDir = engine::trimSpaces(Text2.text());
    outputDirBackup = s.outputDir;
    s.csvOutput = Option1[0]->value() ? 0 : 1;
    if (s.outputDir.endsWith(u'\\')) s.outputDir.chop(1);

    const QString testPath = s.outputDir + u'\\' + kWriteTestFile;
    // The program names the test file: a link or a pipe put there is
    // replaced (and then deleted), never written through nor waited on.
    int error = main.files.open(dosfs::kTestFile, testPath, dosfs::OpenMode::ReplaceOwn);
    if (!error) error = main.files.close(dosfs::kTestFile);
    if (!error) error = dosfs::deleteFile(main.fs, testPath);
    if (error) {
        main.files.close(dosfs::kTestFile);
        Timer1.restart();  // five seconds from this message
        Text4.setVisible(false);
        Text3.setText(forms::shown(kBadDirectory));
        Text3.setVisible(true);
        return;
    }
    storePosition();
    hide();
    main.window.setEnabled(true);
}

void Form3::Command2_Click() {
    storePosition();
    main.state.settings.outputDir = outputDirBackup;
    hide();
    main.window.setEnabled(true);
}

void Form3::Command3_Click() {
    setEnabled(false);
    chooser.open();
}

void Form3::storePosition() {
    main.state.settings.settingsDialogTop = QString::number(top());
    main.state.settings.settingsDialogLeft = QString::number(left());
}

}  // namespace output
