#include "output/form5.h"

#include "output/form3.h"
#include "shell/design.h"
#include "shell/messages.h"

namespace output {

using shell::make;

Form5::Form5(Form3& o, shell::MainLink m)
    : Form(m.window.app(), QStringLiteral("Form5")),
      owner(o),
      main(m),
      Text1(make<forms::TextBox>(*this, "Text1", -1, nullptr, 120, 120, 3960, 330, QString())),
      Drive1(make<forms::DriveListBox>(*this, "Drive1", -1, nullptr, 120, 540, 3960, 330, QString(),
                                       m.fs)),
      Dir1(make<forms::DirListBox>(*this, "Dir1", -1, nullptr, 120, 960, 3960, 2400, QString(),
                                   m.fs)),
      Text2(shell::hidden(
          make<forms::TextBox>(*this, "Text2", -1, nullptr, 120, 3480, 1500, 330, shell::kNoDisk))),
      Command1(make<forms::CommandButton>(*this, "Command1", -1, nullptr, 1740, 3450, 1095, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "決定")))),
      Command2(make<forms::CommandButton>(*this, "Command2", -1, nullptr, 2985, 3450, 1095, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "戻る")))) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ディレクトリ指定")));
    setWidth(kWidth);
    setHeight(kHeight);
    Text1.setLocked(true);
    Text2.setLocked(true);
    Text2.setBackColor(forms::kBrightRed);
    Text2.setForeColor(0xFFFFFF);
    defaultButton = &Command1;
    cancelButton = &Command2;
    shell::describe(Text1, caption());
    shell::describe(Drive1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ドライブ")));
    shell::describe(Dir1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディレクトリ")));
    shell::describe(Text2, forms::AccessibleRole::Message);

    Load = [this] { Form_Load(); };
    // Closing the window is taken as "戻る", so the settings dialog is
    // never left disabled.
    Unload = [this] {
        if (visible()) backToOwner();
    };
    Dir1.Click = [this] { Dir1_Click(); };
    Dir1.Change = [this] { Dir1_Change(); };
    Dir1.LostFocus = [this] { Dir1_LostFocus(); };
    Drive1.Change = [this] { Drive1_Change(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
}

void Form5::open() {
    load();
    setLeft(owner.left() + 1305);
    setTop(owner.top());
    show();
    Dir1.setFocus();
}

void Form5::Form_Load() {
    Text2.setVisible(false);
    // The box is empty as the chooser opens, and the output directory
    // follows it: the start-up drive until a folder is chosen. The lists
    // show that directory, the root of the drive, where listing files
    // named from it would go.
    const QString drive = main.state.startDrive;
    Drive1.setDrive(drive);
    Dir1.setPath(drive + u'\\');
    main.state.settings.outputDir = drive;
    Text1.setText(drive);
}

void Form5::Dir1_Click() {
    const QString folder = Dir1.list(Dir1.listIndex());
    Text1.setText(folder);
    Text2.setVisible(false);
    Dir1.setPath(folder);
}

void Form5::Dir1_Change() {
    Text1.setText(Dir1.path());
    Text2.setVisible(false);
}

// Leaving the tree with its highlight on another folder takes that folder,
// so that 決定 reached with Tab takes the folder the user moved to.
void Form5::Dir1_LostFocus() {
    if (Dir1.listIndex() != -1 && visible()) Dir1_Click();
}

void Form5::Drive1_Change() {
    Text1.setText(QString());
    const int error = Dir1.setPath(Drive1.drive().left(2));
    if (error) {
        Text2.setText(shell::errorText(shell::Failed::Drive, error));
        Text2.setVisible(true);
        return;
    }
    Text1.setText(Dir1.path());
}

void Form5::Command1_Click() {
    Text2.setVisible(false);
    main.state.settings.outputDir = Text1.text();
    backToOwner();
    owner.Text2.setText(main.state.settings.outputDir);
}

void Form5::Command2_Click() {
    Text2.setVisible(false);
    backToOwner();
}

void Form5::backToOwner() {
    hide();
    owner.show();
    owner.setEnabled(true);
    owner.bringToFront();
}

}  // namespace output
