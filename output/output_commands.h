#pragma once
// The main window's ways out for a listing: the "ファイル出力" commands,
// the output settings dialog behind "ファイル出力ディレクトリ設定", the
// save-as dialog behind Command4, and the menu items that only show a
// notice. Construct after the main window's behaviour; lives as long as the
// main window.

#include "output/form2.h"
#include "output/form3.h"
#include "shell/form1.h"
#include "shell/messages.h"

namespace output {

class OutputCommands {
  public:
    // The listing state is the scan's (see Form2).
    OutputCommands(shell::Form1& main, engine::ListingState& listing);

    shell::Form1& main;
    Form2 form2;
    Form3 form3;

    void KOUT_Click() { form3.open(); }
    void KANRI_Click() { notice(shell::kNotInThisVersion); }
    void sgraph_Click() { notice(shell::kNotInThisVersion); }
    void OUTPUT_Click() { notice(shell::kNotYetBuilt); }

  private:
    void notice(const QString& text);
};

}  // namespace output
