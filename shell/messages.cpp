#include "shell/messages.h"

#include "platform/dosfs/errors.h"
#include "platform/forms/shown_text.h"
#include "shell/form1.h"

#include <QStringList>

namespace shell {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

// The pieces of a notice are given in the user's language one by one: the
// path between them is data.
QString writingNotice(const QString& path) {
    return path + kCrLf + forms::shown(kWritingSuffix);
}

QString writtenNotice(const QString& path, bool csv) {
    const QString form = csv ? QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ＣＳＶ形式"))
                             : QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "カンマ区切り"));
    return path + kCrLf +
           forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "に書込み終了しました"))) +
           kCrLf + forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "このファイルは"))) +
           forms::shown(form) +
           forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "のデータです")));
}

QString noDriveNotice(const QString& folder) {
    return folder + forms::shown(kNoDriveSuffix) + kCrLf + forms::shown(kSetOutputDir);
}

QString settingsNotice(const QByteArray& settings, const QByteArray& aside) {
    if (aside.isEmpty()) return QString();
    if (aside == settings)
        return forms::shown(QStringLiteral(
            QT_TRANSLATE_NOOP("Tolan", "設定ファイルを読めず既定値で起動(ファイルは保持)")));
    const QString name = QString::fromLocal8Bit(aside.mid(aside.lastIndexOf('/') + 1));
    return forms::shown(
               QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "読めない設定ファイルを %1 に移しました")))
        .arg(name);
}

QString driveFileNotice(const dosfs::DriveFile& drives) {
    if (drives.refused)
        return forms::shown(QStringLiteral(
            QT_TRANSLATE_NOOP("Tolan", "drives はファイルでないため既定のドライブを使用")));
    if (drives.badLines.empty()) return QString();
    // The first ten by number, then how many more: the box has three lines.
    constexpr size_t kNamed = 10;
    QStringList numbers;
    for (size_t i = 0; i < drives.badLines.size() && i < kNamed; ++i)
        numbers.append(QString::number(drives.badLines[i].number));
    QString notice =
        forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "drives の %1 行目は使えません")))
            .arg(numbers.join(QStringLiteral(", ")));
    if (drives.badLines.size() > kNamed)
        notice += kCrLf + forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "(ほか %1 行)")))
                              .arg(drives.badLines.size() - kNamed);
    return notice;
}

const QString& errorText(Failed what, int error) {
    const dosfs::ErrorKind kind = dosfs::errorKind(error);
    if (kind == dosfs::ErrorKind::NotAnswering) return kNoAnswer;
    if (kind == dosfs::ErrorKind::NoPath && what != Failed::Drive) return kNoFolder;
    if (what == Failed::SaveName) return kBadFileName;
    return kind == dosfs::ErrorKind::NoDevice ? kNoDisk : kDiskError;
}

void showMessage(Form1& form, MessagePlace place, const QString& text, Hide hide) {
    forms::TextBox& box = form.Text10;
    box.setGeometry(box.left(), place.top, place.width, place.height);
    box.setText(forms::shown(text));
    box.setVisible(true);
    if (hide == Hide::AfterSixSeconds) form.Timer4.restart();
}

void showDriveError(Form1& form, int error) {
    forms::TextBox& box = form.Text12;
    box.setLeft(form.Text2.left() + 665);
    box.setTop(form.Text2.top() + 255);
    // Only a missing drive turns the text red; it stays red afterwards.
    if (error == dosfs::kDeviceUnavailable) box.setForeColor(forms::kPaletteRed);
    // The text before the box shows, so a screen reader reads this one.
    box.setText(forms::shown(errorText(Failed::Drive, error)));
    box.setVisible(true);
    form.Timer4.restart();
}

void showCopyState(Form1& form, const QString& text) {
    form.Timer1.restart();
    form.Text3.setLeft(6060);
    form.Text3.setText(forms::shown(text));
    form.Text3.setVisible(true);
}

void wireMessageBoxes(Form1& f) {
    // Timer2 hides what Timer1 hides, and the message box.
    f.Timer1.Tick = [&f] {
        f.Text3.setVisible(false);
        f.Text8.setVisible(false);
        f.Timer1.setTimerEnabled(false);
    };
    f.Timer2.Tick = [&f] {
        f.Text10.setVisible(false);
        f.Timer1.Tick();
        f.Timer2.setTimerEnabled(false);
    };
    f.Timer4.Tick = [&f] {
        f.Text10.setVisible(false);
        f.Text11.setVisible(false);
        f.Text12.setVisible(false);
        f.Timer4.setTimerEnabled(false);
    };
    f.Text3.MouseDown = [&f](int, int, int, int) { f.Text3.setVisible(false); };
    f.Text8.MouseDown = [&f](int, int, int, int) {
        f.Timer1.setTimerEnabled(false);
        f.Text8.setVisible(false);
    };
    f.Text10.MouseDown = [&f](int, int, int, int) { f.Text10.setVisible(false); };
    f.Text12.MouseMove = [&f](int, int, int, int) { f.Text12.setVisible(false); };
}

}  // namespace shell
