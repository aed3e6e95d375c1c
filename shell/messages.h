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
// The occupancy graph (占有グラフ): before any scan, and its window's texts.
inline const QString kScanFirst = QStringLiteral("先に解析して下さい");
inline const QString kGraphCaption = QStringLiteral("占有グラフ");
inline const QString kGraphPartial = QStringLiteral("(解析中断: 読んだ分のみ)");
inline const QString kGraphAllEmpty = QStringLiteral("全ファイル 0 バイト: 面積は等分");

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
