#include "output/form6.h"
#include "platform/forms/shown_text.h"

#include "engine/comparison_text.h"
#include "engine/exclusions.h"
#include "engine/renderings.h"
#include "engine/snapshot.h"
#include "output/listing_writer.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/forms/application.h"
#include "shell/design.h"
#include "shell/messages.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <memory>

#include <sys/stat.h>

namespace output {

using shell::make;

namespace {

const QString kSaved = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存しました"));
const QString kSelectFirst = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイルを選択して下さい"));
const QString kDeleteAsk =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1 を削除します。もう一度「削除」で実行"));
const QString kDeleted = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "削除しました"));
const QString kCannotCompare = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "比較できません: %1"));
const QString kCannotOpen = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "開けません: %1"));
const QString kNotAFile =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "通常のファイルではありません"));
const QString kSave = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存"));
const QString kOtherFolder = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "%1 は %2 の保存ファイルです。もう一度「比較」で比較"));
const QString kOtherExclusions =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定が保存時と違います"));
const QString kOverwriteAsk =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1 は既にあります。もう一度「上書保存」で上書き"));

// Two DOS paths of the same folder: letters in either case, a closing "\"
// or not.
bool sameFolder(QString a, QString b) {
    while (a.endsWith(u'\\')) a.chop(1);
    while (b.endsWith(u'\\')) b.chop(1);
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A file of a folder as a DOS path; a folder given with its "\" keeps one.
QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

// Whether a host path names a regular file, through a link.
bool isFile(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

forms::TextBox& messageBox(forms::TextBox& box) {
    box.setLocked(true);
    box.setForeColor(forms::kBrightRed);
    return box;
}

// What the message box says after a comparison with the snapshot `name`.
// Sides made with other exclusion patterns differ by what only one left
// out, which shows as added or removed: it says so.
QString comparedText(const QString& name, const engine::ChangeCounts& c, bool samePatterns) {
    QString text = forms::shown(QStringLiteral(QT_TRANSLATE_NOOP(
                                    "Tolan", "%1 と比較\r\n追加 %2  削除 %3  変更 %4")))
                       .arg(name)
                       .arg(c.added)
                       .arg(c.removed)
                       .arg(c.changed);
    if (!samePatterns) text += QStringLiteral("\r\n") + forms::shown(kOtherExclusions);
    return text;
}

}  // namespace

Form6::Form6(shell::MainLink m, forms::ListBox& b, const engine::Module1& s, SnapshotScans sc)
    : Form(m.window.app(), QStringLiteral("Form6")),
      main(m),
      sideB(b),
      scan(s),
      scans(std::move(sc)),
      Label1(make<forms::Label>(*this, "Label1", -1, nullptr, 120, 165, 1350, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ファイル名")))),
      Text1(make<forms::TextBox>(*this, "Text1", -1, nullptr, 1500, 120, 4500, 330, QString())),
      Command1(
          make<forms::CommandButton>(*this, "Command1", -1, nullptr, 6120, 100, 1155, 375, kSave)),
      Label2(make<forms::Label>(*this, "Label2", -1, nullptr, 120, 600, 7155, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP(
                                    "Tolan", "保存ファイル一覧（フォルダ・日時・ファイル数）")))),
      List1(make<forms::ListBox>(*this, "List1", -1, nullptr, 120, 900, 7155, 2850, QString())),
      Text2(messageBox(
          make<forms::TextBox>(*this, "Text2", -1, nullptr, 120, 3855, 7155, 330, QString()))),
      Command2(make<forms::CommandButton>(*this, "Command2", -1, nullptr, 3240, 4335, 1155, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "比較")))),
      Command3(make<forms::CommandButton>(*this, "Command3", -1, nullptr, 4680, 4335, 1155, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "削除")))),
      Command4(make<forms::CommandButton>(*this, "Command4", -1, nullptr, 6120, 4335, 1155, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "戻る")))),
      Command5(make<forms::CommandButton>(*this, "Command5", -1, nullptr, 1800, 4335, 1155, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "開く")))),
      search(*this, [this] {
          int error = 0;
          const QByteArray folder = hostFolder(error);
          return Form6Search::Snapshots{error ? QByteArray() : folder,
                                        error ? QStringList() : names};
      }) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ファイルの管理")));
    setWidth(kWidth);
    setHeight(kHeight);
    defaultButton = &Command1;
    cancelButton = &Command4;
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    search.open = [this](const Form6Search::Result& found) {
        openInWindow(found.snapshot, found.file.path);
    };
    List1.Click = [this] { armed_ = -1; };
    // Another name is asked about afresh.
    Text1.Change = [this] {
        if (!armedName_.isEmpty()) disarmSave();
    };
    List1.DblClick = [this] { Command2_Click(); };
    Unload = [this] { Command4_Click(); };
    shell::describe(Text1, Label1);
    shell::describe(List1, Label2);
    // What a command says is read as it shows; the box takes no focus.
    shell::describe(Text2, forms::AccessibleRole::Message);
    Text2.tabStop = false;
}

void Form6::open() {
    main.window.setEnabled(false);
    if (!visible()) load();
    Text1.setText(offeredName());
    disarmSave();
    say(QString());
    search.reset();
    refresh();
    show();
    bringToFront();
    Text1.setFocus();
}

QString Form6::offeredName() const {
    QString folder = main.state.scanRoot;
    while (folder.endsWith(u'\\')) folder.chop(1);
    QString last = folder.mid(folder.lastIndexOf(u'\\') + 1);
    last.remove(u':');
    // A folder named with a leading dot would make a hidden snapshot.
    while (last.startsWith(u'.')) last.remove(0, 1);
    if (last.isEmpty()) return QString();
    // Before any scan, the time of now.
    const qint64 time = scan.scanTime ? scan.scanTime : QDateTime::currentSecsSinceEpoch();
    const QString stem =
        last + QDateTime::fromSecsSinceEpoch(time).toString(QStringLiteral("_yyyyMMdd_HHmmss"));
    // A name that is taken gets the first number that is not.
    QString name = stem + kSnapshotPattern;
    for (int n = 2; taken(name); ++n) name = stem + u'_' + QString::number(n) + kSnapshotPattern;
    return name;
}

// Whether anything is at that name in the output directory, a link or a
// name that differs only in case included.
bool Form6::taken(const QString& name) const {
    int error = 0;
    const QByteArray folder = hostFolder(error);
    if (error) return false;
    struct stat st {};
    return main.fs.resolve(inFolder(main.state.settings.outputDir, name)).error == 0 ||
           ::lstat((folder + '/' + dosfs::encodeHostName(name)).constData(), &st) == 0;
}

// The window repaints while a folder is scanned, at most every tenth of a
// second.
std::function<void()> Form6::events() {
    auto last = std::make_shared<QElapsedTimer>();
    last->start();
    return [this, last] {
        if (last->elapsed() < 100) return;
        app().letEventsRun();
        last->restart();
    };
}

void Form6::say(const QString& text) {
    Text2.setText(forms::shown(text));
    Text2.setVisible(!text.isEmpty());
}

QByteArray Form6::hostFolder(int& error) const {
    const dosfs::Resolved r = main.fs.resolve(main.state.settings.outputDir);
    error = r.error ? r.error : r.isFolder ? 0 : dosfs::kPathNotFound;
    return r.host;
}

// The snapshots of the output directory, by name, each with its folder,
// time and number of files.
void Form6::refresh() {
    List1.clear();
    names.clear();
    folders.clear();
    times.clear();
    armed_ = -1;
    int error = 0;
    const QByteArray folder = hostFolder(error);
    dosfs::Directory dir;
    dosfs::FolderContents contents;
    if (error || dosfs::Directory::open(folder, dir) || dir.read(contents)) return;
    engine::Module1::SortNames(contents.files);
    for (const dosfs::DirEntry& e : contents.files) {
        if (!e.name.endsWith(kSnapshotPattern, Qt::CaseInsensitive)) continue;
        const QByteArray path = folder + '/' + dosfs::hostNameOf(e);
        // A pipe is not read: it would hold the dialog until written to.
        const engine::SnapshotSummary s =
            isFile(path) ? engine::summarizeSnapshot(path) : engine::SnapshotSummary{};
        QString time;
        engine::appendDateText(time, e.mtime, false);
        names.append(e.name);
        folders.append(s.folder);
        times.append(time);
        List1.addItem(
            forms::shownCount(
                QStringLiteral(QT_TRANSLATE_N_NOOP("Tolan", "%1  %2  %3  %4 ファイル")), s.files)
                .arg(e.name, s.folder.isEmpty() ? QStringLiteral("?") : s.folder, time)
                .arg(s.files));
    }
    List1.appendsShown();
}

void Form6::disarmSave() {
    armedName_.clear();
    Command1.setText(kSave);
}

void Form6::Command1_Click() {
    armed_ = -1;
    const QString name = engine::trimSpaces(Text1.text());
    if (main.state.scanRoot.isEmpty() || sideB.listCount() == 0) return say(shell::kNothingToSave);
    if (!name.contains(u'.')) return say(shell::kNoExtension);
    if (name.contains(u'\\') || name.contains(u'/')) return say(shell::kBadFileName);
    int error = 0;
    const QByteArray folder = hostFolder(error);
    if (error) return say(shell::errorText(shell::Failed::SaveName, error));
    // The overwrite guard: only a snapshot, or an empty file, is replaced,
    // and only after a second press on the same name.
    const QByteArray target = folder + '/' + dosfs::encodeHostName(name);
    const dosfs::Resolved there = main.fs.resolve(inFolder(main.state.settings.outputDir, name));
    if (there.error == 0) {
        if (there.isFolder || !isFile(there.host)) return say(shell::kCannotOverwrite);
        const engine::SnapshotSummary s = engine::summarizeSnapshot(there.host);
        if (s.folder.isEmpty() && s.files > 0) return say(shell::kCannotOverwrite);
    }
    if (taken(name) && armedName_ != name) {
        armedName_ = name;
        Command1.setText(shell::kOverwrite);
        return say(forms::shown(kOverwriteAsk).arg(name));
    }
    disarmSave();
    // The name is one the dialog offered or was asked to replace: a link
    // there is replaced, never written through.
    dosfs::FileWriter out;
    error = out.open(target, dosfs::FileWriter::Mode::Own);
    setEnabled(false);  // a press meanwhile waits for the end
    if (!error) error = scans.write(main.fs, main.state.scanRoot, out, events());
    setEnabled(true);
    const int finished = error ? (out.abandon(), 0) : out.finish();
    if (error || finished) return say(shell::kWriteFailed);
    refresh();
    say(kSaved);
}

// The folder shown compared now with the snapshot selected: the result in
// Side B and the work file, its counts in Text10.
void Form6::Command2_Click() {
    const int row = List1.listIndex();
    if (row < 0 || row >= names.size()) return armed_ = -1, say(kSelectFirst);
    if (main.state.scanRoot.isEmpty()) return armed_ = -1, say(shell::kNothingToSave);
    // A snapshot of another folder compares as all added and all removed:
    // the first press says so, the second compares.
    const QString& of = folders[row];
    if (!of.isEmpty() && !sameFolder(of, main.state.scanRoot) && !pressedAgain(row, Command2))
        return say(forms::shown(kOtherFolder).arg(names[row], of));
    armed_ = -1;
    int error = 0;
    const QByteArray folder = hostFolder(error);
    const QByteArray path = folder + '/' + dosfs::encodeHostName(names[row]);
    if (!error && !isFile(path))
        return say(forms::shown(kCannotCompare).arg(forms::shown(kNotAFile)));
    engine::SnapshotReader before(path);
    QString why;
    if (error || !before.start(why)) return say(forms::shown(kCannotCompare).arg(why));
    // The snapshot is read once, its lines checked as they are compared:
    // the result is shown once it was read whole (one out of listing order
    // is read again, sorted, and compared again).
    QStringList shownLines;
    const QStringList heading = comparisonHeading(row);
    engine::ChangeCounts c;
    do {
        error =
            main.files.open(engine::kWorkFile, main.state.workFilePath, dosfs::OpenMode::Replace);
        if (error) return say(shell::errorText(shell::Failed::SaveName, error));
        shownLines.clear();
        const auto line = [this, &error, &shownLines](const QString& text) {
            shownLines.append(text);
            const int e = main.files.printLine(engine::kWorkFile, text);
            if (!error) error = e;
        };
        for (const QString& text : heading) line(text);
        engine::ComparisonLines lines(line);
        engine::Comparison comparison(before, lines);
        setEnabled(false);
        scans.compare(comparison, main.fs, main.state.scanRoot, events());
        setEnabled(true);
        comparison.finish();
        c = comparison.counts();
        if (before.whole()) break;
        main.files.abandon(engine::kWorkFile);
        if (engine::readAgain({&before}, why) >= 0)
            return say(forms::shown(kCannotCompare).arg(why));
    } while (true);
    sideB.clear();
    for (const QString& line : shownLines) sideB.addItem(line);
    sideB.appendsShown();
    const int closed = main.files.close(engine::kWorkFile);
    close();
    if (error || closed) return main.message(shell::kFailure, shell::kWriteFailed);
    main.message(shell::kListingState,
                 comparedText(names[row], c,
                              engine::Exclusions::samePatterns(before.header().exclude,
                                                               main.state.exclusions.patterns())));
}

void Form6::Command3_Click() {
    const int row = List1.listIndex();
    if (row < 0 || row >= names.size()) return say(kSelectFirst);
    if (!pressedAgain(row, Command3)) return say(forms::shown(kDeleteAsk).arg(names[row]));
    const int error =
        dosfs::deleteFile(main.fs, inFolder(main.state.settings.outputDir, names[row]));
    refresh();
    say(error ? shell::errorText(shell::Failed::SaveName, error) : kDeleted);
}

// A second press of the same button on the same row carries out what the
// first one asked about.
bool Form6::pressedAgain(int row, const forms::CommandButton& by) {
    if (armed_ == row && armedBy_ == &by) return true;
    armed_ = row;
    armedBy_ = &by;
    return false;
}

// The two sides a comparison's lines are between, above them on screen,
// in the work file and on paper: the snapshot with its folder and time,
// then the folder as it is now.
QStringList Form6::comparisonHeading(int row) const {
    QString now;
    engine::appendDateText(now, QDateTime::currentSecsSinceEpoch(), false);
    const QString& of = folders[row];
    return {QStringLiteral("Before: %1  %2  %3")
                .arg(names[row], of.isEmpty() ? QStringLiteral("?") : of, times[row]),
            QStringLiteral("After:  %1  %2").arg(main.state.scanRoot, now), QString()};
}

void Form6::Command4_Click() {
    close();
}

// 開く: the snapshot selected shown in the main window as its scan showed
// it; the dialog closes first, and opens again to say what was wrong.
void Form6::Command5_Click() {
    const int row = List1.listIndex();
    if (row < 0 || row >= names.size()) return armed_ = -1, say(kSelectFirst);
    openInWindow(names[row], QByteArray());
}

void Form6::openInWindow(const QString& name, const QByteArray& select) {
    armed_ = -1;
    int error = 0;
    const QByteArray folder = hostFolder(error);
    const QByteArray path = folder + '/' + dosfs::encodeHostName(name);
    if (error || !isFile(path)) return say(forms::shown(kCannotOpen).arg(forms::shown(kNotAFile)));
    if (!openSnapshot) return;
    close();
    QString why;
    if (openSnapshot(path, why, select)) return;
    open();
    const int at = int(names.indexOf(name));
    if (at >= 0) List1.setListIndexFromUser(at);
    say(forms::shown(kCannotOpen).arg(why));
}

void Form6::close() {
    search.stop();
    armed_ = -1;
    disarmSave();
    hide();
    main.window.setEnabled(true);
}

}  // namespace output
