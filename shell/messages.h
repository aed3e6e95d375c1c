#pragma once
// The main window's self-hiding boxes. Every text a command reports there is
// defined here once; each box is shown by one function that sets its place
// and text and gives its hide timer a fresh interval, so a message always
// stays its full time; and the timers' hide rules are wired here.

#include "platform/dosfs/locations.h"
#include "platform/forms/shown_text.h"

#include <QString>

namespace shell {

class Form1;

inline const QString kNoDisk = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディスクなし"));
inline const QString kDiskError = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディスク異常"));
inline const QString kNoFolder = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディレクトリ存在せず"));
inline const QString kNoAnswer = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾃﾞｨｽｸ応答なし"));
inline const QString kBadFileName =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル名指定ミス"));
inline const QString kNoWorkFolder =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "作業ファイルの置き場なし"));
inline const QString kNoData = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "データなし"));
inline const QString kWriteFailed =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)"));
inline const QString kWritingSuffix = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "に書込み中"));
// After an output directory whose drive letter the drive table lacks.
inline const QString kNoDriveSuffix = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "のﾄﾞﾗｲﾌﾞなし"));
inline const QString kSetOutputDir =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "(出力ﾃﾞｨﾚｸﾄﾘ設定要)"));
inline const QString kTooMuchData = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "データが多すぎます。ファイル出力コマンドで処理して下さい"));
inline const QString kNotInThisVersion = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "Ver.3 で有効"));
inline const QString kPrinted = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "印刷終了しました"));
inline const QString kPrintFailed =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "印刷失敗(ﾌﾟﾘﾝﾀﾁｪｯｸ要)"));
inline const QString kPrintCancelled = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "印刷中断"));
inline const QString kCopying =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "クリップボードにコピー中"));
inline const QString kCopied =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "クリップボードにコピーしました"));

// The states of a listing file being written to `path`, in two or three
// lines.
QString writingNotice(const QString& path);
QString writtenNotice(const QString& path, bool csv);
// An output directory on a drive the drive table lacks.
QString noDriveNotice(const QString& folder);
// At start-up: a settings file that could not be read, set aside under
// `aside` (its own name when it could not be moved: then it is left as it
// is), and what was wrong with the drives file.
QString settingsNotice(const QByteArray& settings, const QByteArray& aside);
QString driveFileNotice(const dosfs::DriveFile& drives);
// Saving under a name, in the save-as and snapshot dialogs alike.
inline const QString kNothingToSave =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存すべきデータ無し"));
inline const QString kNoExtension =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "拡張子が定義されていません。"));
inline const QString kCannotOverwrite =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "このファイルに上書きできません。"));
// The save button's caption while a press replaces the file there.
inline const QString kOverwrite = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "上書保存"));
// After a scan that did not list everything below its folder, one line for
// each reason: a stop, the reader of a network or FUSE mount that ended
// (what was left could not be read), folders that could not be read (%1,
// their number: listed as without files).
inline const QString kScanStopped =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "中断しました: 一覧は途中までです"));
inline const QString kReadsLost =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "フォルダを読めなくなり中断: 一覧は不完全です"));
inline const QString kUnreadableFolders =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "読めないフォルダ %1 個: ファイルなしと表示"));
// A saved scan shown in place of a scan: its folder (%1) and when it was
// taken (%2); one of an older format knows no empty folders; one found
// wrong part-way (%1, what was wrong) is shown only to there.
inline const QString kSnapshotShown =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ファイルの表示 (%2 時点):\r\n%1"));
inline const QString kOlderSnapshot = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "古い形式の保存ファイル: 空のフォルダは分かりません"));
inline const QString kSnapshotDamaged = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "保存ファイルが壊れています: 一覧は途中までです (%1)"));
// After a scan whose deepest folders had subfolders: %1 is their number.
inline const QString kFoldersLeftOut = QStringLiteral(QT_TRANSLATE_NOOP(
    "Tolan",
    "8階層より深い %1 個のフォルダは一覧にありません\r\n(保存ファイルの管理で全階層を保存)"));

// After a scan with exclusion patterns in force: %1 is the number of files
// and folders they left out (a folder left out counts once).
inline const QString kEntriesLeftOut =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定により %1 件を除外しました"));
// A pattern (%1) leaves out the folder to scan itself: nothing is listed.
inline const QString kRootLeftOut = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "解析するフォルダ自体が除外設定 %1 に該当: 一覧なし"));
// At start-up: the exclusion file (%1, with the bad pattern) cannot be
// used; scans leave nothing out until the patterns are set again.
inline const QString kBadExclusionFile =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定を読めません(除外なしで解析): %1"));

// The hover hints (the hint box Text11), also what a screen reader says of
// the controls they explain.
inline const QString kHintFiles =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ名ﾘｽﾄを表示します。"));
inline const QString kHintTotals = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ名ﾘｽﾄの他、各フォルダ毎の合計容量やﾌｧｲﾙ数も表示します。"));
inline const QString kHintFolders = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "ﾌｫﾙﾀﾞ名とその中のﾌｧｲﾙ数と容量を表示します(拡張子指定可)"));
inline const QString kHintSaveAs = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "下画面に表示されている結果をファイル名指定で保存します"));
inline const QString kHintExtension =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "直接入力可能です。"));
inline const QString kHintSideA =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ダブルクリックすると画面が広がります。<ON/OFF>"));
inline const QString kHintSideB = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "範囲指定後、右マウスクリックでクリックボードにコピーされます。"));
// The comment switch's hint names the state the hints are in.
inline QString commentHint(bool hintsOff) {
    // In the user's language piece by piece: the whole is never a text of
    // the catalogue.
    return forms::shown(
               QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "コメント表示 ON/OFF の切り替え。"))) +
           forms::shown(hintsOff ? QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "現在OFF"))
                                 : QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "現在ON")));
}
// The occupancy graph (占有グラフ): before any scan, and its window's texts.
inline const QString kScanFirst = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "先に解析して下さい"));
inline const QString kGraphCaption = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "占有グラフ"));
inline const QString kGraphPartial =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "(解析中断: 読んだ分のみ)"));
inline const QString kGraphAllEmpty =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "全ファイル 0 バイト: 面積は等分"));
// While a scan runs the graph still shows the one before, of folder %1.
inline const QString kGraphEarlier =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "解析中: 前回の %1 の結果を表示しています"));

// What a failing command was doing; it decides what an error number says.
enum class Failed {
    Drive,   // choosing a drive: 68 "ディスクなし", else "ディスク異常"
    Folder,  // opening a folder: 76 "ディレクトリ存在せず" besides the drive texts
    SaveName,  // writing a named file: 76 "ディレクトリ存在せず", else "ファイル名指定ミス"
};
// Whatever was being done, a device that does not answer says "ﾃﾞｨｽｸ応答なし".
const QString& errorText(Failed what, int error);

// The places of the message box Text10 (twips); its left edge follows the
// window's layout and is never changed here.
struct MessagePlace {
    int top, width, height;
};
inline constexpr MessagePlace kOneLine{1470, 2190, 345};
inline constexpr MessagePlace kFailure{1470, 2190, 510};
inline constexpr MessagePlace kNoDataPlace{1470, 1200, 345};
inline constexpr MessagePlace kListingState{1470, 4110, 735};
inline constexpr MessagePlace kTooMuchDataPlace{3180, 4110, 525};
// The place of kListingState, as high as `lines` lines need.
constexpr MessagePlace listingStatePlace(int lines) {
    return {kListingState.top, kListingState.width,
            lines <= 1   ? kOneLine.height
            : lines == 2 ? kFailure.height
                         : 735 + (lines - 3) * 225};
}

enum class Hide {
    AfterSixSeconds,  // Timer4 starts afresh
    OnEvent,          // left to the events that hide the box (and a timer already running)
};

// Text10: a command's result or failure.
void showMessage(Form1& form, MessagePlace place, const QString& text,
                 Hide hide = Hide::AfterSixSeconds);
// Text12 beside the folder path: a drive that cannot be opened.
void showDriveError(Form1& form, int error);
// Text3 over Side B: the state of a clipboard copy.
void showCopyState(Form1& form, const QString& text);

// Timer1, Timer2 and Timer4 hide the boxes above; a press on a box hides it.
void wireMessageBoxes(Form1& form);

}  // namespace shell
