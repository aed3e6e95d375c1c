#pragma once
// The main window's self-hiding boxes. Every text a command reports there is
// defined here once; each box is shown by one function that sets its place
// and text and gives its hide timer a fresh interval, so a message always
// stays its full time; and the timers' hide rules are wired here.

#include <QString>

namespace shell {

class Form1;

inline const QString kNoDisk = QStringLiteral("ディスクなし");
inline const QString kDiskError = QStringLiteral("ディスク異常");
inline const QString kNoFolder = QStringLiteral("ディレクトリ存在せず");
inline const QString kNoAnswer = QStringLiteral("ﾃﾞｨｽｸ応答なし");
inline const QString kBadFileName = QStringLiteral("ファイル名指定ミス");
inline const QString kNoWorkFolder = QStringLiteral("作業ファイルの置き場なし");
inline const QString kNoData = QStringLiteral("データなし");
inline const QString kWriteFailed = QStringLiteral("ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)");
inline const QString kWritingSuffix = QStringLiteral("に書込み中");
// After an output directory whose drive letter the drive table lacks.
inline const QString kNoDriveSuffix = QStringLiteral("のﾄﾞﾗｲﾌﾞなし");
inline const QString kSetOutputDir = QStringLiteral("(出力ﾃﾞｨﾚｸﾄﾘ設定要)");
inline const QString kTooMuchData =
    QStringLiteral("データが多すぎます。ファイル出力コマンドで処理して下さい");
inline const QString kNotInThisVersion = QStringLiteral("Ver.3 で有効");
inline const QString kPrinted = QStringLiteral("印刷終了しました");
inline const QString kPrintFailed = QStringLiteral("印刷失敗(ﾌﾟﾘﾝﾀﾁｪｯｸ要)");
inline const QString kPrintCancelled = QStringLiteral("印刷中断");
inline const QString kCopying = QStringLiteral("クリップボードにコピー中");
inline const QString kCopied = QStringLiteral("クリップボードにコピーしました");

// The hover hints (the hint box Text11), also what a screen reader says of
// the controls they explain.
inline const QString kHintFiles = QStringLiteral("ﾌｧｲﾙ名ﾘｽﾄを表示します。");
inline const QString kHintTotals =
    QStringLiteral("ﾌｧｲﾙ名ﾘｽﾄの他、各フォルダ毎の合計容量やﾌｧｲﾙ数も表示します。");
inline const QString kHintFolders =
    QStringLiteral("ﾌｫﾙﾀﾞ名とその中のﾌｧｲﾙ数と容量を表示します(拡張子指定可)");
inline const QString kHintSaveAs =
    QStringLiteral("下画面に表示されている結果をファイル名指定で保存します");
inline const QString kHintExtension = QStringLiteral("直接入力可能です。");
inline const QString kHintSideA = QStringLiteral("ダブルクリックすると画面が広がります。<ON/OFF>");
inline const QString kHintSideB =
    QStringLiteral("範囲指定後、右マウスクリックでクリックボードにコピーされます。");
// The comment switch's hint names the state the hints are in.
inline QString commentHint(bool hintsOff) {
    return QStringLiteral("コメント表示 ON/OFF の切り替え。") +
           (hintsOff ? QStringLiteral("現在OFF") : QStringLiteral("現在ON"));
}

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

enum class Hide {
    AfterSixSeconds,  // Timer4 starts afresh
    OnEvent,          // left to the events that hide the box (and a timer already running)
};

// Text10: a command's result or failure.
void showMessage(Form1& form, MessagePlace place, const QString& text,
                 Hide hide = Hide::AfterSixSeconds);
// Text12 beside the folder path: a drive that cannot be opened.
void showDriveError(Form1& form, int error);
// Text8: a menu command this version does not have.
void showNotice(Form1& form, const QString& text);
// Text3 over Side B: the state of a clipboard copy.
void showCopyState(Form1& form, const QString& text);

// Timer1, Timer2 and Timer4 hide the boxes above; a press on a box hides it.
void wireMessageBoxes(Form1& form);

}  // namespace shell
