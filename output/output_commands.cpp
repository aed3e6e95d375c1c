#include "output/output_commands.h"

#include "output/listing_pages.h"
#include "output/listing_writer.h"
#include "platform/forms/application.h"
#include "shell/messages.h"

namespace output {

OutputCommands::OutputCommands(shell::Form1& m, engine::Module1& s, SnapshotScans snapshots)
    : main(m), scan(s), form2(m, s.listing), form3(m), form6(m, s, std::move(snapshots)) {
    main.Command4.Click = [this] { form2.open(); };
    main.KOUT->Click = [this] { KOUT_Click(); };
    main.FR1->Click = [this] { writeListing(main, Columns::NameSizeDate); };
    main.FR0->Click = [this] { writeListing(main, Columns::FolderFileSizeDate); };
    main.FR2->Click = [this] { writeListing(main, Columns::NameSize); };
    main.FR3->Click = [this] { writeListing(main, Columns::NameDate); };
    main.FR4->Click = [this] { writeListing(main, Columns::Name); };
    main.KANRI->Click = [this] { KANRI_Click(); };
    main.OUTPUT->Click = [this] { OUTPUT_Click(); };
}

void OutputCommands::OUTPUT_Click() {
    main.Text10.setVisible(false);
    if (main.List1.listCount() == 0) {
        shell::showMessage(main, shell::kNoDataPlace, shell::kNoData);
        return;
    }
    ListingPages pages(main.List1, scan.settings.scanRoot, scan.scanTime);
    switch (main.app().printPreview(pages)) {
        case forms::PrintOutcome::NotPrinted:
            break;
        case forms::PrintOutcome::Printed:
            shell::showMessage(main, shell::kOneLine, shell::kPrinted);
            break;
        case forms::PrintOutcome::Failed:
            shell::showMessage(main, shell::kFailure, shell::kPrintFailed);
            break;
        case forms::PrintOutcome::Cancelled:
            shell::showMessage(main, shell::kOneLine, shell::kPrintCancelled);
            break;
    }
}

}  // namespace output
