#pragma once
// The main window: every control at its design position with its design
// caption, the OPTION menu, and the layout that follows the window's size.

#include "platform/dosfs/file_system.h"
#include "platform/dosfs/numbered_files.h"
#include "platform/forms/basic_controls.h"
#include "platform/forms/file_controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "shell/layout.h"
#include "shell/main_state.h"

#include <array>

namespace shell {

inline const QString kFixedFont = QStringLiteral("ＭＳ ゴシック");
inline const QString kDefaultFont = QStringLiteral("ＭＳ Ｐゴシック");

class Form1 : public forms::Form {
  public:
    // The design size, frame and menu bar included.
    static constexpr int kDesignWidth = 12045;
    static constexpr int kDesignHeight = 9045;

    Form1(forms::Application& app, dosfs::FileSystem& fs);

    dosfs::FileSystem& fs;
    dosfs::NumberedFiles files{fs};  // the files opened by number, the work file among them

    forms::Line& Line1_0;
    forms::Label& Label1;
    forms::Label& Label9;
    forms::Label& Label3;
    forms::ComboBox& Combo2;
    forms::Label& Label4;
    forms::ComboBox& Combo1;
    forms::Label& Label2;
    forms::TextBox& Text1;
    forms::CommandButton& Command7;
    forms::Label& Label8;
    forms::TextBox& Text2;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::FileListBox& File1;
    forms::Frame& Frame1;
    std::array<forms::CommandButton*, 3> Command8;
    std::array<forms::TextBox*, 3> Text9;
    std::array<forms::Label*, 2> Label10;
    std::array<forms::ListBox*, 3> List2;
    forms::Line& Line1_2;
    forms::ListBox& List1;
    forms::Label& Label7;
    forms::Line& Line1_1;
    forms::CommandButton& Command3;
    forms::CommandButton& Command1;
    forms::CommandButton& Command4;
    forms::CommandButton& Command5;
    forms::CommandButton& Command6;
    forms::CommandButton& Command9;
    forms::Label& Label6;
    forms::Label& Label5;
    // Message and hint boxes, created last so that they lie over the rest.
    forms::TextBox& Text8;
    forms::TextBox& Text11;
    forms::TextBox& Text12;
    forms::TextBox& Text10;
    forms::TextBox& Text3;
    forms::TextBox& Text5;
    forms::TextBox& Text4;
    forms::Timer& Timer1;
    forms::Timer& Timer2;
    forms::Timer& Timer3;
    forms::Timer& Timer4;

    // The OPTION menu and its items.
    forms::Menu* OPTION = nullptr;
    forms::Menu* FILE = nullptr;
    forms::Menu* KOUT = nullptr;
    forms::Menu* FR1 = nullptr;
    forms::Menu* FR0 = nullptr;
    forms::Menu* FR2 = nullptr;
    forms::Menu* FR3 = nullptr;
    forms::Menu* FR4 = nullptr;
    forms::Menu* OUTPUT = nullptr;
    forms::Menu* sgraph = nullptr;
    forms::Menu* KANRI = nullptr;

    LayoutState layout;
    MainState state;

    // Start-up: idle state, start-up drive, work file, settings, then the
    // window is shown and the option boxes are filled.
    void Form_Load();
    // The window is closing (never cancelled): files closed, settings
    // saved, the program ends at once. The exit button ends the same way.
    void Form_Unload();
    void endProgram();

    // An empty output type becomes the full-path type and an empty
    // extension "*"; listType and extFilter follow the boxes.
    void normaliseOptionBoxes();

    // Keeps the window at or above its minimum size and moves the controls
    // by the change since the last run.
    void Form_Resize();
    // Reads the Side A column positions from the controls.
    void refreshColumnGeometry();
    // The window as created is the reference of the first resize and the
    // smallest width it may take.
    void startLayout();

  private:
    void createMenu();
    void followWidth(int dw);
    void followHeight(int dh);
};

}  // namespace shell
