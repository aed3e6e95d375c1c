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
#include "shell/messages.h"

#include <array>
#include <functional>

namespace shell {

inline const QString kFixedFont = QStringLiteral("ＭＳ ゴシック");
inline const QString kDefaultFont = QStringLiteral("ＭＳ Ｐゴシック");

// What a dialog of the main window works with in place of the whole window:
// the window it disables while it is open, the state the window's handlers
// share, the file layer (the work file among the open files), and the
// window's message box Text10.
struct MainLink {
    forms::Form& window;
    MainState& state;
    dosfs::FileSystem& fs;
    dosfs::NumberedFiles& files;
    std::function<void(MessagePlace, const QString&)> message;
};

class Form1 : public forms::Form {
  public:
    // The design size, frame and menu bar included.
    static constexpr int kDesignWidth = 12045;
    static constexpr int kDesignHeight = 9045;

    Form1(forms::Application& app, dosfs::FileSystem& fs);

    dosfs::FileSystem& fs;
    dosfs::NumberedFiles files{fs};  // the files opened by number, the work file among them

    // Upper area: options, drive and folder.
    forms::Line& Line1_0;            // separator under the menu bar
    forms::Label& Label1;            // the title "ＴＯＬａｎ"
    forms::Label& Label9;            // the version label
    forms::Label& Label3;            // caption of the output-type box
    forms::ComboBox& Combo2;         // output type: full paths, or names with dates
    forms::Label& Label4;            // caption of the extension box (it has a hint)
    forms::ComboBox& Combo1;         // extension filter, "*" for every file
    forms::Label& Label2;            // caption of the drive box
    forms::TextBox& Text1;           // the chosen drive as "C:\"
    forms::CommandButton& Command7;  // "？": shows and hides the help panel
    forms::Label& Label8;            // caption of the folder path
    forms::TextBox& Text2;           // path of the folder to scan; alone while a scan runs
    forms::DriveListBox& Drive1;     // drive chooser
    forms::DirListBox& Dir1;         // folder tree: the folder to scan
    forms::FileListBox& File1;       // the files of that folder
    // Side A: the files of the last scan in three columns.
    forms::Frame& Frame1;                           // Side A's frame
    std::array<forms::CommandButton*, 3> Command8;  // column headers
    std::array<forms::TextBox*, 3> Text9;           // their captions: name, size, date
    std::array<forms::Label*, 2> Label10;           // splitters between the columns
    std::array<forms::ListBox*, 3> List2;           // columns: full path, size, date
    // Side B: the listing.
    forms::Line& Line1_2;   // separator above Side B
    forms::ListBox& List1;  // the listing's lines, as the work file holds them
    forms::Label& Label7;   // second counter, shown by a double-click on Label6
    forms::Line& Line1_1;   // separator above the button row
    // Button row.
    forms::CommandButton& Command3;  // scan: files with folder totals
    forms::CommandButton& Command1;  // scan: files only
    forms::CommandButton& Command4;  // save the listing under a chosen name
    forms::CommandButton& Command5;  // exit, or stop a running scan
    forms::CommandButton& Command6;  // scan: folder sizes
    forms::CommandButton& Command9;  // hints on and off
    forms::Label& Label6;            // caption of the found count
    forms::Label& Label5;            // files found by the last scan
    // Message and hint boxes, created last so that they lie over the rest.
    forms::TextBox& Text8;   // notice of a menu command this version lacks
    forms::TextBox& Text11;  // hint
    forms::TextBox& Text12;  // a drive that cannot be opened, beside the folder path
    forms::TextBox& Text10;  // a command's result or failure
    forms::TextBox& Text3;   // clipboard copy state, over Side B
    forms::TextBox& Text5;   // help panel
    forms::TextBox& Text4;   // "処 理 中" while a scan or a save runs
    forms::Timer& Timer1;    // 12 s: hides Text3 and Text8
    forms::Timer& Timer2;    // 15 s: hides Text10, Text3 and Text8
    forms::Timer& Timer3;    // 30 ms: keeps the Side A columns scrolled together
    forms::Timer& Timer4;    // 6 s: hides Text10, Text11 and Text12

    // The OPTION menu and its items.
    forms::Menu* OPTION = nullptr;
    forms::Menu* FILE = nullptr;    // "ファイル出力": the listing files
    forms::Menu* KOUT = nullptr;    // output directory and format dialog
    forms::Menu* FR1 = nullptr;     // TOLAN: path, size, date
    forms::Menu* FR0 = nullptr;     // TOLAN0: folder, name, size, date
    forms::Menu* FR2 = nullptr;     // TOLAN1: path, size
    forms::Menu* FR3 = nullptr;     // TOLAN2: path, date
    forms::Menu* FR4 = nullptr;     // TOLAN3: path
    forms::Menu* OUTPUT = nullptr;  // printing: Side B in a print preview
    forms::Menu* sgraph = nullptr;  // usage graph: a notice
    forms::Menu* KANRI = nullptr;   // saved-file management: the snapshots
    forms::Menu* JOGAI = nullptr;   // the exclusion patterns

    LayoutState layout;
    MainState state;
    MainLink link();

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

    // The look of the window while a scan or a save runs: Side B closed to
    // the mouse under the busy notice, the folder tree and file list hidden.
    void setBusy(bool busy);

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
    // Names, descriptions and roles for a screen reader.
    void describeControls();
    QString placeWorkFile();
    void followWidth(int dw);
    void followHeight(int dh);
};

}  // namespace shell
