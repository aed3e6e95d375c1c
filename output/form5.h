#pragma once
// "保存ディレクトリ指定": drive and folder lists that fill the output
// settings dialog's directory box.

#include "shell/form1.h"

namespace output {

class Form3;

class Form5 : public forms::Form {
  public:
    static constexpr int kWidth = 4335;
    static constexpr int kHeight = 4350;

    Form5(Form3& owner, shell::MainLink main);

    Form3& owner;
    shell::MainLink main;

    forms::TextBox& Text1;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::TextBox& Text2;
    forms::CommandButton& Command1;
    forms::CommandButton& Command2;

    // "参照": placed beside the settings dialog and shown.
    void open();

    void Form_Load();
    void Dir1_Click();
    void Dir1_Change();
    void Dir1_LostFocus();
    void Drive1_Change();
    void Command1_Click();  // 決定
    void Command2_Click();  // 戻る

  private:
    void backToOwner();
};

}  // namespace output
