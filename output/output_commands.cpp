#include "output/output_commands.h"

#include "output/listing_writer.h"
#include "platform/forms/application.h"
#include "shell/messages.h"

namespace output {

OutputCommands::OutputCommands(shell::Form1& m, engine::ListingState& listing)
    : main(m), form2(m, listing), form3(m) {
    main.Command4.Click = [this] { form2.open(); };
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

void OutputCommands::notice(const QString& text) {
    main.app().beep();
    shell::showNotice(main, text);
}

}  // namespace output
