#include "output/output_commands.h"

#include "output/listing_pages.h"
#include "output/listing_writer.h"
#include "platform/forms/application.h"
#include "shell/messages.h"

namespace output {

OutputCommands::OutputCommands(shell::Form1& m, engine::Module1& s, SnapshotScans snapshots)
    : main(m),
      scan(s),
      form2(m.link(), {m.Command4, m.Label5, m.File1, [&m](bool b) { m.setBusy(b); }}, s.listing),
      form3(m.link()),
      form6(m.link(), m.List1, s, std::move(snapshots)),
      form7(m.link()) {
    main.Command4.Click = [this] { Command4_Click(); };
    main.KOUT->Click = [this] { KOUT_Click(); };
    main.FR1->Click = [this] { writeListing(main, Columns::NameSizeDate); };
    main.FR0->Click = [this] { writeListing(main, Columns::FolderFileSizeDate); };
    main.FR2->Click = [this] { writeListing(main, Columns::NameSize); };
    main.FR3->Click = [this] { writeListing(main, Columns::NameDate); };
    main.FR4->Click = [this] { writeListing(main, Columns::Name); };
    main.KANRI->Click = [this] { KANRI_Click(); };
    main.JOGAI->Click = [this] { JOGAI_Click(); };
    main.OUTPUT->Click = [this] { OUTPUT_Click(); };
}

void OutputCommands::Command4_Click() {
    main.Timer3.setTimerEnabled(false);
    main.setEnabled(false);
    main.Text10.setVisible(false);
    main.Text11.setVisible(false);
    main.setMousePointer(forms::MousePointer::Arrow);
    main.Label5.setText(QString());
    main.Label7.setText(QString());
    main.Command4.setEnabled(false);
    main.normaliseOptionBoxes();
    // A bare name is saved in the folder the box names, typed there or not.
    main.state.scanRoot = main.Text2.text();
    form2.open(main.List1.listCount());
    main.Dir1.setPath(main.state.scanRoot);
    main.Text2.setText(main.state.scanRoot);
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
