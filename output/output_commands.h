#pragma once
// The main window's ways out for a listing: the "ファイル出力" commands,
// the output settings dialog behind "ファイル出力ディレクトリ設定", the
// save-as dialog behind Command4, printing Side B ("プリント出力"), the
// snapshots behind "保存ファイルの管理". Construct after the main window's
// behaviour; lives as long as the main window.

#include "engine/module1.h"
#include "output/form2.h"
#include "output/form3.h"
#include "output/form6.h"
#include "output/form7.h"
#include "shell/form1.h"
#include "shell/messages.h"

namespace output {

class OutputCommands {
  public:
    // The scan is the main window's: its listing state (see Form2), and the
    // folder and time its listing was made of, which head the printed pages.
    OutputCommands(shell::Form1& main, engine::Module1& scan, SnapshotScans snapshots);

    shell::Form1& main;
    const engine::Module1& scan;
    Form2 form2;
    Form3 form3;
    Form6 form6;  // 保存ファイルの管理
    Form7 form7;  // 除外設定

    // The main window handed to the save-as dialog.
    void Command4_Click();
    void KOUT_Click() { form3.open(); }
    void KANRI_Click() { form6.open(); }
    void JOGAI_Click() { form7.open(); }
    // Side B's lines in a print preview; an empty Side B says "データなし",
    // and a print that failed or was stopped part-way says so.
    void OUTPUT_Click();
};

}  // namespace output
