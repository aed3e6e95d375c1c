// Start-up of the main window and the end of the program.

#include "platform/dosfs/locations.h"
#include "platform/dosfs/pending_files.h"
#include "platform/forms/application.h"
#include "shell/exclusion_file.h"
#include "shell/form1.h"
#include "shell/messages.h"

#include <QDir>

namespace shell {
namespace {

// The extension box's choices after "every file".
const QStringList kExtensions =
    QStringList{engine::ExtensionFilter::kEveryFile} +
    QStringLiteral(
        "LZH ZIP XLS DOC TXT DAT EXE HLP INI DLL TIF BMP MOV AVI JPG GIF WAV TLB MP3 User")
        .split(u' ');

}  // namespace

void Form1::Form_Load() {
    state.hintsOff = true;
    state.run = RunState::Idle;
    startLayout();  // the reference sizes and the column geometry as created
    setMousePointer(forms::MousePointer::Arrow);

    if (!state.startupDone) {
        dosfs::sweepPending();  // what a crash of an earlier run left half-written
        state.startDrive = QStringLiteral("C:");
        if (fs.changeDrive(state.startDrive) != 0) {
            state.startDrive = QStringLiteral("A:");
            if (fs.changeDrive(state.startDrive) != 0 && !fs.drives().isEmpty()) {
                state.startDrive = QString(fs.drives().letters().first()) + u':';
                fs.changeDrive(state.startDrive);
            }
        }
        state.workFilePath = placeWorkFile();
        state.scanRoot = state.startDrive;
        fs.changeFolder(state.scanRoot + u'\\');

        Text2.setVisible(true);
        if (state.extFilter.isEmpty()) state.extFilter = engine::ExtensionFilter::kEveryFile;
        Combo1.setText(state.extFilter);
        Combo2.setText(engine::caption(state.listType));
        state.listType = engine::listTypeOf(Combo2.text()).value_or(state.listType);
        if (!Combo1.text().isEmpty()) state.extFilter = Combo1.text();

        const QByteArray aside = LoadSettings(state.settings, state.startDrive);
        if (!aside.isEmpty()) state.startNotices.append(settingsNotice(settingsPath(), aside));
        ApplySettings(state.settings, *this);
        if (QString problem; !loadExclusions(state.exclusions, problem))
            state.startNotices.append(forms::shown(kBadExclusionFile).arg(problem));
        show();
    }

    Text1.setText(Drive1.drive().left(2).toUpper() + u'\\');
    Text2.setText(Dir1.path().toLower());
    state.browsePath = File1.path();  // the folder the window opens with
    state.startupDone = true;
    Combo1.clear();
    for (const QString& e : kExtensions) Combo1.addItem(e);
    Combo2.clear();
    Combo2.addItem(engine::kFullPathsCaption);
    Combo2.addItem(engine::kNamesCaption);
    state.startNotices.removeAll(QString());
    if (!state.startNotices.isEmpty()) {
        showMessage(*this, kListingState, state.startNotices.join(QStringLiteral("\r\n")));
        state.startNotices.clear();
    }
}

// The work file lives in the program's state folder, also when C:\WINDOWS
// or C:\WINNT exists: here those are the user's own folders, which other
// users may be able to write. It is reached through a drive of the
// program's own that no drive the user can pick is, so it never lies inside
// a folder the user scans through a drive that does not also hold the state
// folder, and never shows in the folder tree. Empty when every letter is
// taken.
QString Form1::placeWorkFile() {
    const QByteArray folder = dosfs::stateFolder();
    QDir().mkpath(QString::fromLocal8Bit(folder));
    const QChar letter = fs.setOwnDrive(folder);
    return letter.isNull() ? QString() : QString(letter) + QStringLiteral(":\\DIR.TXT");
}

void Form1::normaliseOptionBoxes() {
    if (Combo2.text().isEmpty()) Combo2.setText(engine::kFullPathsCaption);
    state.listType = engine::listTypeOf(Combo2.text()).value_or(state.listType);
    if (Combo1.text().isEmpty()) Combo1.setText(engine::ExtensionFilter::kEveryFile);
    state.extFilter = Combo1.text();
}

void Form1::Form_Unload() {
    endProgram();
}

void Form1::setBusy(bool busy) {
    List1.setEnabled(!busy);
    Text4.setVisible(busy);
    Dir1.setVisible(!busy);
    File1.setVisible(!busy);
}

void Form1::endProgram() {
    files.closeAll();
    SaveSettings(state.settings, *this);  // the program ends even when this fails
    app().end();
}

}  // namespace shell
