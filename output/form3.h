#pragma once
// "保存設定": the output directory, checked by a write test, and the
// output format of the listing files. "参照" opens the directory chooser.

#include "output/form5.h"
#include "shell/form1.h"

#include <array>

namespace output {

inline const QString kWriteTestFile = QStringLiteral("TESTTL01.JRC");

class Form3 : public forms::Form {
  public:
    // The dialog's outer size in twips, frame included (it has no menu bar).
    static constexpr int kWidth = 6135;
    static constexpr int kHeight = 3750;

    explicit Form3(shell::MainLink main);

    shell::MainLink main;

    forms::Frame& Frame1;
    forms::Label& Label3;
    forms::TextBox& Text1;
    forms::Label& Label4;
    forms::TextBox& Text2;
    forms::TextBox& Text4;
    forms::TextBox& Text3;
    forms::CommandButton& Command3;
    forms::Frame& Frame2;
    forms::Label& Label1;
    std::array<forms::OptionButton*, 2> Option1;
    forms::Label& Label5;
    forms::Label& Label2;
    forms::CommandButton& Command1;
    forms::CommandButton& Command2;
    forms::Timer& Timer1;

    Form5 chooser;  // "保存ディレクトリ指定"

    QString outputDirBackup;

    // KOUT: the main window disabled until this dialog is first active,
    // the dialog placed at its stored position and shown.
    void open();

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Timer1_Timer();
    void Command1_Click();  // 決定
    void Command2_Click();  // 戻る
    void Command3_Click();  // 参照

  private:
    void storePosition();
    void showNoDrive(const QString& folder);
};

}  // namespace output
