#pragma once
// Printing a document from Qt's print preview: the user prints it on a
// printer (Qt's print dialog, CUPS) or saves it as a PDF. Qt Print Support
// is met only here.

#include "platform/forms/print_document.h"
#include "platform/qt/print_pages.h"

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace qtbind {

// A printer on the default printer's paper, or, without a printer, on the
// paper of defaultPageLayout(), as tolan-list's PDF.
void preparePrinter(QPrinter& printer, const forms::PrintDocument& document);

// Prints on a printer that its print dialog has set up: every page, the
// pages of its range or the selected lines only. A PDF to a file is written
// by the one writer of files, so a failure leaves no part of it. A print the
// progress stops is aborted (a PDF is not kept) and Cancelled.
forms::PrintOutcome printDocument(QPrinter& printer, forms::PrintDocument& document,
                                  const PrintProgress& progress = {});

// Qt's preview of the document on `printer`. Its print button opens a print
// dialog that offers the selected lines alone when there are some and then
// prints with printDocument(), showing the pages printed with a button that
// stops the print; `outcome` tells how that went.
class PrintPreview {
  public:
    PrintPreview(QPrinter& printer, forms::PrintDocument& document, QWidget* parent);
    ~PrintPreview();
    PrintPreview(const PrintPreview&) = delete;
    PrintPreview& operator=(const PrintPreview&) = delete;

    QPrintPreviewDialog& dialog() { return *dialog_; }
    // Whether the print button was found and leads to the dialog above.
    bool offersSelection() const { return offersSelection_; }
    forms::PrintOutcome outcome() const { return outcome_; }

  private:
    void print();

    QPrinter& printer_;
    forms::PrintDocument& document_;
    QPrintPreviewDialog* dialog_;
    bool offersSelection_ = false;
    forms::PrintOutcome outcome_ = forms::PrintOutcome::NotPrinted;
};

}  // namespace qtbind
