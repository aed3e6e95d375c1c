#pragma once
// The main window's "ファイル出力" commands, the output settings dialog
// behind "ファイル出力ディレクトリ設定", and the menu items that only show
// a notice. Construct after the main window's behaviour; lives as long as
// the main window.

#include "output/form3.h"
#include "shell/form1.h"

namespace output {

class OutputMenu {
  public:
    explicit OutputMenu(shell::Form1& main);

    shell::Form1& main;
    Form3 form3;

    void KOUT_Click() { form3.open(); }
    void KANRI_Click() { notice(QStringLiteral("Ver.3 で有効")); }
    void sgraph_Click() { notice(QStringLiteral("Ver.3 で有効")); }
    void OUTPUT_Click() { notice(QStringLiteral("組込み準備中")); }

  private:
    void notice(const QString& text);
};

}  // namespace output
