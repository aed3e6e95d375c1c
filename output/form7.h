#pragma once
// "除外設定": the patterns a scan leaves out, one a line, kept in their own
// file beside the settings (shell/exclusion_file.h). 決定 checks every
// pattern and saves them; a bad one is named with its line and the text
// stays for the user to mend. 戻る leaves the patterns as they were.

#include "shell/form1.h"

namespace output {

class Form7 : public forms::Form {
  public:
    static constexpr int kWidth = 6135;
    static constexpr int kHeight = 4650;

    explicit Form7(shell::MainLink main);

    shell::MainLink main;

    forms::Label& Label1;
    forms::TextBox& Text1;           // the patterns, one a line
    forms::TextBox& Text2;           // the example
    forms::TextBox& Text3;           // what is wrong with them
    forms::CommandButton& Command1;  // 決定
    forms::CommandButton& Command2;  // 戻る

    // The menu item 除外設定: the dialog with the patterns in force.
    void open();
    void Command1_Click();
    void Command2_Click();

  private:
    void close();
    void say(const QString& text);
};

}  // namespace output
