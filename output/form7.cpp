#include "output/form7.h"

#include "platform/dosfs/host_name.h"
#include "platform/forms/shown_text.h"
#include "shell/design.h"
#include "shell/exclusion_file.h"
#include "shell/messages.h"

namespace output {

using shell::make;

namespace {

const QString kExample = QStringLiteral(
    QT_TRANSLATE_NOOP("Tolan", "例： .git/  node_modules/  *.tmp  /build/  **/cache/"));
// %1: the line number, %2: the pattern.
const QString kBadPattern = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1行目のﾊﾟﾀｰﾝが異常: %2"));
const QString kNotSaved = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定の保存失敗"));

forms::TextBox& patternBox(forms::TextBox& box) {
    box.setMultiLine(true);
    box.setScrollBars(true);
    box.setFont({shell::kFixedFont, 9});
    return box;
}

forms::TextBox& lockedBox(forms::TextBox& box, bool message) {
    box.setLocked(true);
    if (message) box.setForeColor(forms::kBrightRed);
    box.tabStop = false;
    return box;
}

// The line of `text` (from 1) that holds the pattern `bad`, 0 when none does.
int lineOf(const QStringList& lines, const QByteArray& bad) {
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (dosfs::encodeHostName(lines[i]) == bad) return int(i) + 1;
    return 0;
}

}  // namespace

Form7::Form7(shell::MainLink m)
    : Form(m.window.app(), QStringLiteral("Form7")),
      main(m),
      Label1(make<forms::Label>(
          *this, "Label1", -1, nullptr, 120, 120, 5760, 255,
          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外するﾌｧｲﾙ・ﾌｫﾙﾀﾞ（１行に１ﾊﾟﾀｰﾝ）")))),
      Text1(patternBox(
          make<forms::TextBox>(*this, "Text1", -1, nullptr, 120, 420, 5760, 2580, QString()))),
      Text2(lockedBox(make<forms::TextBox>(*this, "Text2", -1, nullptr, 120, 3060, 5760, 300,
                                           forms::shown(kExample)),
                      false)),
      Text3(lockedBox(
          make<forms::TextBox>(*this, "Text3", -1, nullptr, 120, 3060, 5760, 300, QString()),
          true)),
      Command1(make<forms::CommandButton>(*this, "Command1", -1, nullptr, 3180, 3540, 1260, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "決定")))),
      Command2(make<forms::CommandButton>(*this, "Command2", -1, nullptr, 4620, 3540, 1260, 390,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "戻る")))) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定")));
    setWidth(kWidth);
    setHeight(kHeight);
    Text3.setVisible(false);
    // Enter in the patterns is a new line; 決定 is pressed by itself.
    defaultButton = &Command1;
    cancelButton = &Command2;
    shell::describe(Text1, Label1);
    shell::describe(Text2, forms::AccessibleRole::Hint);
    shell::describe(Text3, forms::AccessibleRole::Message);
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Unload = [this] { close(); };
}

void Form7::open() {
    main.window.setEnabled(false);
    if (!visible()) load();
    Text1.setText(main.state.exclusions.texts().join(u'\n'));
    say(QString());
    show();
    bringToFront();
    Text1.setFocus();
}

void Form7::say(const QString& text) {
    Text3.setText(text);
    Text3.setVisible(!text.isEmpty());
    Text2.setVisible(text.isEmpty());
}

void Form7::Command1_Click() {
    QString typed = Text1.text();
    typed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = typed.split(u'\n');
    const QList<QByteArray> patterns =
        engine::Exclusions::patternLines(dosfs::encodeHostName(typed));
    engine::Exclusions exclusions;
    engine::BadPattern bad;
    if (!engine::Exclusions::compile(patterns, exclusions, bad)) {
        say(forms::shown(kBadPattern)
                .arg(lineOf(lines, bad.pattern))
                .arg(dosfs::decodeHostName(bad.pattern)));
        // Back to the patterns, to mend the one named.
        Text1.setFocus();
        return;
    }
    if (shell::saveExclusions(exclusions) != 0) {
        say(forms::shown(kNotSaved));
        return;
    }
    main.state.exclusions = exclusions;
    close();
}

void Form7::Command2_Click() {
    close();
}

void Form7::close() {
    say(QString());
    hide();
    main.window.setEnabled(true);
}

}  // namespace output
