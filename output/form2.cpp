#include "output/form2.h"
#include "platform/forms/shown_text.h"

#include "engine/module1.h"
#include "output/form5.h"
#include "output/listing_records.h"
#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"
#include "platform/forms/application.h"
#include "shell/design.h"
#include "shell/messages.h"
#include "shell/settings.h"

namespace output {

using shell::make;

namespace {

// The save button's captions: as created it reads 上書き保存; once the mode
// is set it reads 新規作成 or 上書保存, the shorter form of the same word,
// kept as the dialog has always shown it (shell::kOverwrite).
const QString kSaveCaption = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "上書き保存"));
const QString kNewFile = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "新規作成"));
const QString kPatternHint =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "修正可能。セミコロンを区切りとして入力。"));
const QString kBadPattern = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "拡張子設定エラー"));

// Keys that move or select without changing the name.
bool changesText(int key) {
    using namespace forms::keys;
    return !(key == kTab || key == kEnter || (key >= kShift && key <= kCapsLock) ||
             key == kEscape || (key >= kPageUp && key <= kDown) || key == kInsert ||
             (key >= kF1 && key <= kF12));
}

}  // namespace

Form2::Form2(shell::MainLink m, SaveControls c, engine::ListingState& l)
    : Form(m.window.app(), QStringLiteral("Form2")),
      main(m),
      mainControls(std::move(c)),
      listing(l),
      Label1(make<forms::Label>(
          *this, "Label1", -1, nullptr, 120, 90, 3000, 255,
          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "データ保存ファイル名指定")))),
      Text1(make<forms::TextBox>(*this, "Text1", -1, nullptr, 120, 360, 4590, 330, QString())),
      Drive1(make<forms::DriveListBox>(*this, "Drive1", -1, nullptr, 120, 810, 2220, 330, QString(),
                                       m.fs)),
      Dir1(make<forms::DirListBox>(*this, "Dir1", -1, nullptr, 120, 1200, 2220, 2250, QString(),
                                   m.fs)),
      File1(make<forms::FileListBox>(*this, "File1", -1, nullptr, 2490, 810, 2220, 2640, QString(),
                                     m.fs)),
      Label2(make<forms::Label>(*this, "Label2", -1, nullptr, 120, 3600, 1020, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "表示拡張子")))),
      Text3(make<forms::TextBox>(*this, "Text3", -1, nullptr, 1140, 3555, 3570, 330, QString())),
      Check1(make<forms::CheckBox>(*this, "Check1", -1, nullptr, 120, 3990, 255, 285, QString())),
      Label3(make<forms::Label>(*this, "Label3", -1, nullptr, 390, 4020, 1800, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "全てのﾌｧｲﾙ表示")))),
      Command3(make<forms::CommandButton>(*this, "Command3", -1, nullptr, 2250, 4410, 1170, 390,
                                          kSaveCaption)),
      Command2(make<forms::CommandButton>(*this, "Command2", -1, nullptr, 3540, 4410, 1170, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "戻る")))),
      Text2(shell::hidden(make<forms::TextBox>(*this, "Text2", -1, nullptr, 2610, 360, 2025, 330,
                                               forms::shown(shell::kCannotOverwrite)))),
      Text4(shell::hidden(
          make<forms::TextBox>(*this, "Text4", -1, nullptr, 1140, 3195, 3570, 330, QString()))),
      Timer1(shell::timer(*this, "Timer1", 2000, true)) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル保存")));
    setWidth(kWidth);
    setHeight(kHeight);
    Text2.setLocked(true);
    Text2.setBackColor(forms::kBrightRed);
    Text2.setForeColor(0xFFFFFF);
    Text4.setLocked(true);
    Text3.wantsEnter = true;  // Enter applies the pattern
    Dir1.wantsEnter = true;   // Enter opens the highlighted folder, and saves nothing
    defaultButton = &Command3;
    cancelButton = &Command2;
    shell::describe(Text1, Label1);
    shell::describe(Drive1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ドライブ")));
    shell::describe(Dir1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディレクトリ")));
    shell::describe(File1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル")));
    shell::describe(Text3, Label2, kPatternHint);
    shell::describe(Check1, Label3);
    shell::describe(Text2, forms::AccessibleRole::Message);
    shell::describe(Text4, forms::AccessibleRole::Hint);

    wire();
}

void Form2::wire() {
    Load = [this] { Form_Load(); };
    Activate = [this] { Form_Activate(); };
    Unload = [this] { Form_Unload(); };
    MouseMove = [this](int, int, int, int) { Text4.setVisible(false); };
    Text1.KeyDown = [this](int key, int) { Text1_KeyDown(key); };
    Text1.MouseDown = [this](int, int, int, int) { Text1_MouseDown(); };
    File1.Click = [this] { File1_Click(); };
    File1.MouseMove = [this](int, int, int, int) { Text4.setVisible(false); };
    Dir1.Click = [this] { Dir1_Click(); };
    Dir1.LostFocus = [this] { Dir1_LostFocus(); };
    Dir1.Change = [this] { Dir1_Change(); };
    Dir1.MouseMove = [this](int, int, int, int) { Text4.setVisible(false); };
    Drive1.Change = [this] { Drive1_Change(); };
    Check1.Click = [this] { Check1_Click(); };
    Label3.Click = [this] { Check1.setValue(!Check1.value()); };
    Text3.Change = [this] { Text3_Change(); };
    Text3.KeyDown = [this](int key, int) { Text3_KeyDown(key); };
    Text3.LostFocus = [this] { Text3_LostFocus(); };
    Text3.MouseMove = [this](int, int, int, int) { Text3_MouseMove(); };
    Text2.Click = [this] { Text2.setVisible(false); };
    Text2.MouseDown = [this](int, int, int, int) { Text2.setVisible(false); };
    Text2.MouseMove = [this](int, int, int, int) { Text2.setVisible(false); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
}

void Form2::open(int resultLines) {
    resultLineCount = resultLines;
    const QString scanRoot = main.state.scanRoot;
    chdirOr(lastSaveDir.contains(QStringLiteral(":\\")) ? lastSaveDir : scanRoot);

    load();
    setTop(static_cast<int>(shell::leadingNumber(main.state.settings.saveDialogTop)));
    setLeft(static_cast<int>(shell::leadingNumber(main.state.settings.saveDialogLeft)));
    show();
    Text1.setFocus();
    chdirOr(scanRoot);
}

void Form2::Form_Load() {
    // A dialog loaded afresh: its controls as created, its lists on the
    // working folder.
    newFileMode = 0;
    Command3.setText(kSaveCaption);
    Text2.setVisible(false);
    Text4.setVisible(false);
    Timer1.restart();
    Text1.setText(QString());
    loading_ = true;  // controls taking their first values raise no events
    const QChar drive = main.fs.currentDrive();
    Drive1.setDrive(QString(drive) + u':');
    Dir1.setPath(main.fs.currentFolder(drive));
    File1.setPath(Dir1.path());
    Check1.setValue(false);
    loading_ = false;

    if (!lastSaveDrive.isEmpty()) Drive1.setDrive(lastSaveDrive);
    if (displayPattern == QLatin1String("*.*")) Check1.setValue(true);
    chdirOr(main.state.settings.outputDir);
    if (!lastSaveName.isEmpty()) Text1.setText(lastSaveName);
}

void Form2::Form_Activate() {
    if (displayPattern.isEmpty()) defaultPattern = displayPattern = kDefaultPattern;
    File1.setPattern(displayPattern);
    Text3.setText(displayPattern);
    patternInForce = displayPattern;
}

// However the dialog closes, the main window is given back.
void Form2::Form_Unload() {
    storePosition();
    hide();
    main.window.setEnabled(true);
    mainControls.Command4.setEnabled(true);
    mainControls.setBusy(false);  // the folder lists shown
}

void Form2::Text1_KeyDown(int key) {
    if (changesText(key)) setMode(1);
}

void Form2::Text1_MouseDown() {
    setMode(Text1.text() != lastSaveName ? 1 : 0);
}

void Form2::File1_Click() {
    Text2.setVisible(false);
    QString folder = File1.path();
    if (folder.endsWith(u'\\')) folder = folder.left(2);
    const QString name = folder + u'\\' + File1.list(File1.listIndex());
    Text1.setText(name);
    lastSaveName = name;
    setMode(0);
    lastSaveDir = folder;
}

void Form2::Dir1_Click() {
    const QString folder = Dir1.list(Dir1.listIndex());
    Text1.setText(folder);
    Dir1.setPath(folder);
}

void Form2::Dir1_LostFocus() {
    Dir1.setPath(Dir1.list(Dir1.listIndex()));
}

void Form2::Dir1_Change() {
    if (loading_) return;
    Text2.setVisible(false);
    setMode(0);
    File1.setPath(Dir1.path());
    Text1.setText(File1.path());
}

void Form2::Drive1_Change() {
    if (loading_) return;
    const int error = Dir1.setPath(Drive1.drive().left(2));
    if (!error) return;
    messageInPlace(shell::errorText(shell::Failed::Drive, error));
    Drive1.setDrive(Dir1.path().left(2));
}

void Form2::Check1_Click() {
    if (loading_) return;
    displayPattern = Check1.value() ? QStringLiteral("*.*") : defaultPattern;
    Text3.setText(displayPattern);
    File1.setPattern(displayPattern);
}

void Form2::Text3_Change() {
    displayPattern = Text3.text();
}

void Form2::Text3_KeyDown(int key) {
    displayPattern = Text3.text();
    if (key == forms::keys::kEnter) Text3_LostFocus();  // Enter applies the pattern at once
}

void Form2::Text3_LostFocus() {
    if (File1.setPattern(displayPattern)) {
        Text3.setText(displayPattern);
        return;
    }
    messageInPlace(kBadPattern);
    Text3.setText(patternInForce);
}

void Form2::Text3_MouseMove() {
    if (main.state.hintsOff) return;
    Text4.setText(forms::shown(kPatternHint));
    Text4.setVisible(true);
}

void Form2::Timer1_Timer() {
    Text2.setVisible(false);
    Timer1.setTimerEnabled(false);
}

void Form2::Command2_Click() {
    Text2.setVisible(false);
    lastSaveDrive = Drive1.drive();
    lastSaveName = Text1.text();
    close();
    chdirOr(main.state.scanRoot);
    mainControls.Label5.setText(QString::number(listing.listedCount()));
    main.files.close(engine::kWorkFile);
}

void Form2::Command3_Click() {
    if (resultLineCount == 0) {
        message(shell::kNothingToSave, Layout::Short);
        return finish();
    }
    saveTarget = engine::trimSpaces(Text1.text());
    chdirOr(main.state.scanRoot);
    if (!targetAccepted()) return endSave();
    // Proves the name writable without touching a file already there.
    int error = main.files.open(dosfs::kSaveFile, saveTarget, dosfs::OpenMode::Replace);
    main.files.abandon(dosfs::kSaveFile);
    if (error) {
        message(shell::errorText(shell::Failed::SaveName, error), Layout::Short);
        return finish();
    }

    close();
    mainControls.setBusy(true);
    app().letEventsRun();

    error = copyWorkFile();
    if (error) {
        // The dialog is gone: the main window says what went wrong.
        main.message(shell::kOneLine, shell::errorText(shell::Failed::SaveName, error));
        return finish();
    }
    // The saved file may be in the folder the main window lists.
    mainControls.File1.setPath(mainControls.File1.path());
    endSave();
}

// The overwrite guard: a name needs an extension, and an existing file is
// replaced only when it looks like a listing (a first item with "<<" or
// ":\", or an empty file), whether it was picked or typed.
bool Form2::targetAccepted() {
    if (!Text1.text().contains(u'.')) {
        message(shell::kNoExtension, Layout::Medium);
        return false;
    }
    QString first;
    if (dosfs::firstItem(main.fs, saveTarget, first) == 0 && !first.isEmpty() &&
        !first.contains(QStringLiteral("<<")) && !first.contains(QStringLiteral(":\\"))) {
        message(shell::kCannotOverwrite, Layout::Wide);
        return false;
    }
    return true;
}

int Form2::copyWorkFile() {
    dosfs::NumberedFiles& files = main.files;
    int error = files.open(dosfs::kSaveFile, saveTarget, dosfs::OpenMode::Replace);
    if (!error)
        error = files.open(engine::kWorkFile, main.state.workFilePath, dosfs::OpenMode::Input);
    if (error) {
        files.abandon(dosfs::kSaveFile);
        return error;
    }
    app().letEventsRun();

    listing.recountStarted();
    QByteArray line;
    while (!error) {
        const int read = files.lineInputBytes(engine::kWorkFile, line);
        if (read == dosfs::kInputPastEnd) break;
        error = read ? read : files.printBytes(dosfs::kSaveFile, line);
        // The first three characters decide; six bytes always hold them.
        listing.recount(codepage::fromCp932(line.left(6)));
    }
    files.close(engine::kWorkFile);
    if (!error) error = files.close(dosfs::kSaveFile);
    files.abandon(dosfs::kSaveFile);
    if (!error) mainControls.Label5.setText(QString::number(listing.listedCount()));
    return error;
}

void Form2::endSave() {
    listing.setTypeChanged(false);
    mainControls.Command4.setEnabled(true);
    finish();
}

void Form2::finish() {
    mainControls.setBusy(false);
}

void Form2::message(const QString& text, Layout layout) {
    // Each layout's left and width; the top is the same for all.
    static constexpr int kLeft[] = {2610, 2040, 1605}, kWidth[] = {2025, 2595, 3030};
    Text2.setGeometry(kLeft[int(layout)], 360, kWidth[int(layout)], Text2.height());
    messageInPlace(text);
}

void Form2::messageInPlace(const QString& text) {
    Text2.setText(forms::shown(text));
    Text2.setVisible(true);
    Timer1.restart();  // two seconds from this message
}

void Form2::setMode(int mode) {
    newFileMode = mode;
    Command3.setText(mode ? kNewFile : shell::kOverwrite);
}

void Form2::storePosition() {
    main.state.settings.saveDialogTop = QString::number(top());
    main.state.settings.saveDialogLeft = QString::number(left());
}

void Form2::chdirOr(const QString& folder) {
    dosfs::FileSystem& fs = main.fs;
    if (fs.changeFolder(folder) == 0) {
        if (folder.size() >= 2 && folder[1] == u':') fs.changeDrive(folder.left(2));
        return;
    }
    fs.changeDrive(main.state.startDrive);
}

}  // namespace output
