// What a screen reader says of the main window's controls: a name for each
// control without a caption (the label it stands under) or whose caption is
// a code, the hints as descriptions, and the roles of the boxes that show
// messages, hints and the busy state.

#include "shell/design.h"
#include "shell/form1.h"

#include "platform/forms/shown_text.h"
#include "shell/messages.h"

namespace shell {

void Form1::describeControls() {
    using forms::AccessibleRole;
    describe(Combo2, Label3);
    describe(Combo1, Label4, kHintExtension);
    Label4.setAccessibleDescription(kHintExtension);
    describe(Text1, Label2);
    describe(Command7, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ヘルプ")),
             QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "使い方の説明を表示します。")));
    describe(Text2, Label8);
    describe(Drive1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ドライブ")));
    describe(Dir1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ディレクトリ")));
    describe(File1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル")));
    describe(Frame1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "Ａ面")));
    // The three columns of Side A are read as one table (see Form1's
    // constructor), each headed by its caption.
    for (int i = 0; i < 3; ++i) {
        describe(*Command8[i], Text9[i]->text());
        describe(*Command8[i], AccessibleRole::ColumnHeader);
        describe(*Text9[i], Text9[i]->text());
        describe(*List2[i],
                 forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "Ａ面 %1")))
                     .arg(Text9[i]->text()),
                 kHintSideA);
        List2[i]->columnHeader = Command8[i];
    }
    // The headers are in the user's language already; the names are made
    // from a pattern in it.
    const QString border = forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1と%2の境界")));
    describe(*Label10[0], border.arg(Text9[0]->text(), Text9[1]->text()));
    describe(*Label10[1], border.arg(Text9[1]->text(), Text9[2]->text()));
    for (forms::Label* splitter : Label10) describe(*splitter, AccessibleRole::Separator);
    describe(List1, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "Ｂ面")), kHintSideB);
    Label5.setAccessibleDescription(Label6.text());  // its name is the count it shows
    Command1.setAccessibleDescription(kHintFiles);
    Command3.setAccessibleDescription(kHintTotals);
    Command6.setAccessibleDescription(kHintFolders);
    Command4.setAccessibleDescription(kHintSaveAs);
    describe(Command9, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "コメント表示")),
             commentHint(true));
    describe(Text5, QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ヘルプ")));
    for (forms::TextBox* box : {&Text3, &Text8, &Text10, &Text12})
        describe(*box, AccessibleRole::Message);
    describe(Text11, AccessibleRole::Hint);
    describe(Text4, AccessibleRole::Busy);
}

}  // namespace shell
