#pragma once
// "ファイル保存": the scan's work file saved under a name the user picks,
// with the overwrite guard, the recount of listed files into the main
// window, and the file list's display pattern.

#include "engine/listing_state.h"
#include "shell/form1.h"

namespace output {

inline const QString kDefaultPattern = QStringLiteral("*.DAT;*.TXT;*.LST;*.DOC");

// The main window's controls a save changes while its dialog is open.
struct SaveControls {
    forms::CommandButton& Command4;  // opened the dialog; enabled again when it closes
    forms::Label& Label5;            // the files listed, recounted by a save
    forms::FileListBox& File1;       // read again after a save: the file may be there
    // The window's look while the copy runs (the lists hidden), and when idle.
    std::function<void(bool)> setBusy;
};

class Form2 : public forms::Form {
  public:
    static constexpr int kWidth = 4965;
    static constexpr int kHeight = 5310;

    // The listing state belongs to the scan; the save reads it, clears the
    // type change and recounts the listed files.
    Form2(shell::MainLink main, SaveControls mainControls, engine::ListingState& listing);

    shell::MainLink main;
    SaveControls mainControls;
    engine::ListingState& listing;

    forms::Label& Label1;
    forms::TextBox& Text1;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::FileListBox& File1;
    forms::Label& Label2;
    forms::TextBox& Text3;
    forms::CheckBox& Check1;
    forms::Label& Label3;
    forms::CommandButton& Command3;
    forms::CommandButton& Command2;
    forms::TextBox& Text2;
    forms::TextBox& Text4;
    forms::Timer& Timer1;

    // Kept while the program runs.
    double resultLineCount = 0;
    QString lastSaveName;
    QString lastSaveDir;
    QString lastSaveDrive;
    QString displayPattern;
    QString defaultPattern;
    QString saveTarget;
    // The dialog's own state.
    int newFileMode = 0;
    QString patternInForce;

    // Command4 of the main window, once that has set the folder to scan
    // from its folder box: `resultLines` lines are in Side B.
    void open(int resultLines);

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Text1_KeyDown(int key);
    void Text1_MouseDown();
    void File1_Click();
    void Dir1_Click();
    void Dir1_LostFocus();
    void Dir1_Change();
    void Drive1_Change();
    void Check1_Click();
    void Text3_Change();
    void Text3_KeyDown(int key);
    void Text3_LostFocus();
    void Text3_MouseMove();
    void Timer1_Timer();
    void Command2_Click();  // 戻る
    void Command3_Click();  // save

  private:
    enum class Layout { Short, Medium, Wide };
    void message(const QString& text, Layout layout);
    void messageInPlace(const QString& text);
    void setMode(int mode);
    void storePosition();
    void chdirOr(const QString& folder);
    void wire();
    bool targetAccepted();
    void endSave();  // a save done or refused by the guard: the type change is spent
    void finish();   // the final step of a save, also after a failure
    int copyWorkFile();
    bool loading_ = false;
};

}  // namespace output
