#pragma once
// Printing a document from its print preview: the user prints it on a
// printer (Qt's print dialog, CUPS) or saves it as a PDF. Qt Print Support
// is met only here.

#include "platform/forms/print_document.h"
#include "platform/qt/page_view.h"
#include "platform/qt/print_pages.h"

class QDialog;
class QLabel;
class QLineEdit;
class QPrinter;
class QToolBar;
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

// The preview of the document on `printer`'s paper, pages drawn as they come
// into sight, with the zoom, the orientation and the paper in its tool bar.
// Its print button (or Enter, or Ctrl+P) opens Qt's print dialog, which
// offers the selected lines alone when there are some, and prints with
// printDocument(), showing the pages printed with a button that stops the
// print; `outcome` tells how that went.
class PrintPreview {
  public:
    PrintPreview(QPrinter& printer, forms::PrintDocument& document, QWidget* parent);
    ~PrintPreview();
    PrintPreview(const PrintPreview&) = delete;
    PrintPreview& operator=(const PrintPreview&) = delete;

    QDialog& dialog() { return *dialog_; }
    PageView& pages() { return *view_; }
    forms::PrintOutcome outcome() const { return outcome_; }

  private:
    void addTools(QToolBar& bar);
    void reachByTab(QToolBar& bar);
    void layOut();
    void print();

    QPrinter& printer_;
    forms::PrintDocument& document_;
    QDialog* dialog_;
    PageView* view_;
    QLineEdit* number_;
    QLabel* total_;
    forms::PrintOutcome outcome_ = forms::PrintOutcome::NotPrinted;
};

}  // namespace qtbind
