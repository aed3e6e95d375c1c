#include "output/output_menu.h"

#include "output/listing_writer.h"
#include "platform/forms/application.h"

namespace output {

OutputMenu::OutputMenu(shell::Form1& m) : main(m), form3(m) {
    main.KOUT->Click = [this] { KOUT_Click(); };
    main.FR1->Click = [this] { writeListing(main, Columns::NameSizeDate); };
    main.FR0->Click = [this] { writeListing(main, Columns::FolderFileSizeDate); };
    main.FR2->Click = [this] { writeListing(main, Columns::NameSize); };
    main.FR3->Click = [this] { writeListing(main, Columns::NameDate); };
    main.FR4->Click = [this] { writeListing(main, Columns::Name); };
    main.KANRI->Click = [this] { KANRI_Click(); };
    main.sgraph->Click = [this] { sgraph_Click(); };
    main.OUTPUT->Click = [this] { OUTPUT_Click(); };
}

void OutputMenu::notice(const QString& text) {
    main.app().beep();
    main.Text8.setVisible(true);
    main.Timer1.setTimerEnabled(true);
    main.Text8.setText(text);
}

}  // namespace output
