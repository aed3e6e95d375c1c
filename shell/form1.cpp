#include "shell/form1.h"

#include "platform/forms/shown_text.h"

#include "tolan/version.h"

#include "shell/design.h"
#include "shell/messages.h"

namespace shell {

Form1::Form1(forms::Application& app, dosfs::FileSystem& fileSystem)
    : Form(app, QStringLiteral("Form1")),
      fs(fileSystem),
      Line1_0(line(*this, 0, 0, 0, 11880, 0)),
      Label1(make<forms::Label>(*this, "Label1", -1, nullptr, 90, 150, 2040, 495,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ＴＯＬａｎ")))),
      Label9(make<forms::Label>(*this, "Label9", -1, nullptr, 2115, 315, 780, 255,
                                QStringLiteral(TOLAN_VERSION_LABEL))),
      Label3(make<forms::Label>(*this, "Label3", -1, nullptr, 2970, 300, 1260, 285,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "出力タイプ")))),
      Combo2(make<forms::ComboBox>(*this, "Combo2", -1, nullptr, 4155, 270, 1740, 315, QString())),
      Label4(make<forms::Label>(*this, "Label4", -1, nullptr, 6120, 315, 1245, 240,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "出力拡張子")))),
      Combo1(make<forms::ComboBox>(*this, "Combo1", -1, nullptr, 7320, 270, 1065, 315, QString())),
      Label2(make<forms::Label>(*this, "Label2", -1, nullptr, 8535, 315, 1545, 285,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "解析ドライブ")))),
      Text1(make<forms::TextBox>(*this, "Text1", -1, nullptr, 9960, 270, 780, 330, QString())),
      Command7(make<forms::CommandButton>(*this, "Command7", -1, nullptr, 11250, 270, 375, 285,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "？")))),
      Label8(make<forms::Label>(*this, "Label8", -1, nullptr, 9720, 765, 1905, 240,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "解析対象ﾃﾞｨﾚｸﾄﾘ")))),
      Text2(hidden(
          make<forms::TextBox>(*this, "Text2", -1, nullptr, 9330, 1110, 2550, 720, QString()))),
      Drive1(make<forms::DriveListBox>(*this, "Drive1", -1, nullptr, 9330, 1860, 2565, 300,
                                       QString(), fileSystem)),
      Dir1(make<forms::DirListBox>(*this, "Dir1", -1, nullptr, 9330, 2160, 2565, 3390, QString(),
                                   fileSystem)),
      File1(make<forms::FileListBox>(*this, "File1", -1, nullptr, 9330, 5580, 2565, 1890, QString(),
                                     fileSystem)),
      Frame1(make<forms::Frame>(*this, "Frame1", -1, nullptr, 0, 675, 9285, 2130, QString())),
      Command8([this] {
          return std::array<forms::CommandButton*, 3>{
              &make<forms::CommandButton>(*this, "Command8", 0, &Frame1, 15, 120, 6315, 300,
                                          QString()),
              &make<forms::CommandButton>(*this, "Command8", 1, &Frame1, 6330, 135, 1035, 300,
                                          QString()),
              &make<forms::CommandButton>(*this, "Command8", 2, &Frame1, 7365, 120, 1905, 300,
                                          QString())};
      }()),
      Text9([this] {
          return std::array<forms::TextBox*, 3>{
              &make<forms::TextBox>(
                  *this, "Text9", 0, &Frame1, 165, 180, 5805, 195,
                  forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル名")))),
              &make<forms::TextBox>(
                  *this, "Text9", 1, &Frame1, 6420, 180, 675, 195,
                  forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "サイズ")))),
              &make<forms::TextBox>(
                  *this, "Text9", 2, &Frame1, 7455, 180, 1635, 195,
                  forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "更新日時"))))};
      }()),
      Label10([this] {
          return std::array<forms::Label*, 2>{
              &make<forms::Label>(*this, "Label10", 0, &Frame1, 6210, 135, 285, 330, QString()),
              &make<forms::Label>(*this, "Label10", 1, &Frame1, 7155, 135, 285, 375, QString())};
      }()),
      List2([this] {
          return std::array<forms::ListBox*, 3>{
              &make<forms::ListBox>(*this, "List2", 0, &Frame1, 0, 405, 7395, 1680, QString()),
              &make<forms::ListBox>(*this, "List2", 1, &Frame1, 6315, 405, 1755, 1680, QString()),
              &make<forms::ListBox>(*this, "List2", 2, &Frame1, 7335, 405, 1950, 1680, QString())};
      }()),
      Line1_2(line(*this, 2, 0, 2835, 9315, 2835)),
      List1(make<forms::ListBox>(*this, "List1", -1, nullptr, 15, 2895, 9285, 4710, QString())),
      Label7(make<forms::Label>(*this, "Label7", -1, nullptr, 10260, 7725, 1530, 285, QString())),
      Line1_1(line(*this, 1, -45, 7785, 11970, 7785)),
      Command3(
          make<forms::CommandButton>(*this, "Command3", -1, nullptr, 1995, 7905, 1155, 375,
                                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ表示１")))),
      Command1(
          make<forms::CommandButton>(*this, "Command1", -1, nullptr, 3345, 7905, 1155, 375,
                                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ表示２")))),
      Command4(make<forms::CommandButton>(*this, "Command4", -1, nullptr, 4890, 7905, 1155, 375,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ出力")))),
      Command5(make<forms::CommandButton>(*this, "Command5", -1, nullptr, 6945, 7905, 1155, 375,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "終了")))),
      Command6(
          make<forms::CommandButton>(*this, "Command6", -1, nullptr, 165, 7920, 1425, 375,
                                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｫｰﾙﾀﾞ容量表示")))),
      Command9(make<forms::CommandButton>(*this, "Command9", -1, nullptr, 8355, 7950, 870, 300,
                                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "cmnt ON")))),
      Label6(make<forms::Label>(*this, "Label6", -1, nullptr, 9450, 7965, 1440, 240,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索件数(ﾌｧｲﾙ数)")))),
      Label5(make<forms::Label>(*this, "Label5", -1, nullptr, 11055, 7965, 720, 240, QString())),
      Text8(hidden(make<forms::TextBox>(*this, "Text8", -1, nullptr, 1455, 210, 1395, 330,
                                        forms::shown(kNotInThisVersion)))),
      Text11(hidden(
          make<forms::TextBox>(*this, "Text11", -1, nullptr, 5610, 30, 1740, 405, QString()))),
      Text12(hidden(
          make<forms::TextBox>(*this, "Text12", -1, nullptr, 10005, 1365, 1185, 285, QString()))),
      Text10(hidden(make<forms::TextBox>(*this, "Text10", -1, nullptr, 195, 1470, 2190, 510,
                                         forms::shown(kWriteFailed) + QStringLiteral("\r\n")))),
      Text3(hidden(make<forms::TextBox>(*this, "Text3", -1, nullptr, 6060, 3045, 2835, 285,
                                        QStringLiteral("Text3")))),
      Text5(hidden(
          make<forms::TextBox>(*this, "Text5", -1, nullptr, 2130, 3705, 4935, 2655, QString()))),
      Text4(hidden(make<forms::TextBox>(
          *this, "Text4", -1, nullptr, 3375, 4680, 2010, 570,
          forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "処 理 中")))))),
      Timer1(timer(*this, "Timer1", 12000, true)),
      Timer2(timer(*this, "Timer2", 15000, true)),
      Timer3(timer(*this, "Timer3", 30, false)),
      Timer4(timer(*this, "Timer4", 6000, false)) {
    setCaption(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "Tolan-ﾌｧｲﾙ表示ﾌﾟﾛｸﾞﾗﾑ")));
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    Text10.setMultiLine(true);
    Text5.setMultiLine(true);
    Text5.setLocked(true);  // read from the keyboard (F1), never edited
    Text11.setMultiLine(true);
    // The hints wrap within the box's fixed 1740 twips: a smaller face than
    // the rest of the window lets their two or three lines fit.
    Text11.setFont({kDefaultFont, 7});
    // The fifteen lines of the help panel fit its 2655 twips the same way.
    Text5.setFont({kDefaultFont, 8});
    Text2.setMultiLine(true);
    for (forms::ListBox* l : List2) l->setFont({kFixedFont, 9});
    List1.setFont({kFixedFont, 9});
    List1.setMultiSelect(true);
    for (forms::ListBox* l : List2) {
        l->setMultiSelect(true);
        l->scrollsSideways = false;
        // Side A's columns are one table: a row is selected in all three.
        l->joinColumns({List2[0], List2[1], List2[2]});
    }
    // The column headers and their captions, and the message boxes, take no
    // input from the keyboard.
    for (int i = 0; i < 3; ++i) Command8[i]->tabStop = Text9[i]->tabStop = false;
    for (forms::TextBox* box : {&Text3, &Text4, &Text5, &Text8, &Text10, &Text11, &Text12})
        box->tabStop = false;
    // The second counter sits across the separator above the button row,
    // half under the file list: it stays out of sight until a double-click
    // on 検索件数 shows it, and then hides the line behind its figures so
    // that they stay readable.
    Label7.opaque = true;
    Label7.setVisible(false);
    createMenu();
    describeControls();
    Load = [this] { Form_Load(); };
    Resize = [this] { Form_Resize(); };
    Unload = [this] { Form_Unload(); };
}

MainLink Form1::link() {
    return {*this, state, fs, files,
            [this](MessagePlace place, const QString& text) { showMessage(*this, place, text); }};
}

void Form1::createMenu() {
    OPTION =
        &addMenu(QStringLiteral("OPTION"), QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "OPTION")));
    FILE = &OPTION->add(QStringLiteral("FILE"),
                        QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル出力")));
    KOUT = &FILE->add(QStringLiteral("KOUT"),
                      QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル出力ディレクトリ設定")));
    FR1 = &FILE->add(QStringLiteral("FR1"),
                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "FileName+Size+Date")));
    FR0 =
        &FILE->add(QStringLiteral("FR0"),
                   QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "FileName+Size+Date(Directry分離)")));
    FR2 = &FILE->add(QStringLiteral("FR2"),
                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "FileName+Size")));
    FR3 = &FILE->add(QStringLiteral("FR3"),
                     QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "FileName+Date")));
    FR4 = &FILE->add(QStringLiteral("FR4"), QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "FileName")));
    OUTPUT = &OPTION->add(QStringLiteral("OUTPUT"),
                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "プリント出力")));
    sgraph = &OPTION->add(QStringLiteral("sgraph"),
                          QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "占有グラフ")));
    KANRI = &OPTION->add(QStringLiteral("KANRI"),
                         QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ファイルの管理")));
    JOGAI = &OPTION->add(QStringLiteral("JOGAI"),
                         QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "除外設定")));
}

}  // namespace shell
