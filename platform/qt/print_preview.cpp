#include "platform/qt/print_preview.h"

#include "platform/qt/print_pages.h"
#include "platform/qt/qt_application.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <functional>

namespace qtbind {
namespace {

// Enter in the preview prints, as Enter accepts a dialog; in the page number
// box it still turns to the page typed.
class EnterPrints : public QObject {
  public:
    EnterPrints(QObject* parent, std::function<void()> print)
        : QObject(parent), print_(std::move(print)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key != Qt::Key_Return && key != Qt::Key_Enter) ||
            qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            return QObject::eventFilter(watched, event);
        print_();
        return true;
    }

  private:
    std::function<void()> print_;
};

}  // namespace

void preparePrinter(QPrinter& printer, const forms::PrintDocument& document) {
    // A printer brings its own paper and margins; Qt's PDF without one has
    // A4 everywhere, where tolan-list follows the locale.
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setPageLayout(defaultPageLayout());
    // The print dialog names the PDF after the job: the folder's own name,
    // not its DOS path ("C:\work" would be a file "C:\work.pdf").
    QString name = document.title().section(u'\\', -1, -1, QString::SectionSkipEmpty);
    name.remove(u':');
    printer.setDocName(name.isEmpty() ? QStringLiteral("tolan") : name);
    printer.setCreator(QStringLiteral("Tolan"));
}

forms::PrintOutcome printDocument(QPrinter& printer, forms::PrintDocument& document,
                                  const PrintProgress& progress) {
    using forms::PrintOutcome;
    const bool selectionOnly = printer.printRange() == QPrinter::Selection;
    const QPageRanges pages =
        printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        dosfs::FileWriter out;
        bool stopped = false;
        int error = out.open(QFile::encodeName(printer.outputFileName()));
        if (!error)
            error = writePdf(document, printer.pageLayout(), selectionOnly, out, pages, progress,
                             &stopped);
        if (stopped || error) {
            out.abandon();
            return stopped ? PrintOutcome::Cancelled : PrintOutcome::Failed;
        }
        return out.finish() ? PrintOutcome::Failed : PrintOutcome::Printed;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return PrintOutcome::Failed;
    const Drawn drawn = drawPages(painter, printer, document, selectionOnly, pages, progress);
    if (drawn == Drawn::Stopped) printer.abort();
    painter.end();
    if (drawn == Drawn::Stopped) return PrintOutcome::Cancelled;
    switch (printer.printerState()) {
        case QPrinter::Aborted:
            return PrintOutcome::Cancelled;
        case QPrinter::Error:
            return PrintOutcome::Failed;
        default:
            return drawn == Drawn::All ? PrintOutcome::Printed : PrintOutcome::Failed;
    }
}

PrintPreview::PrintPreview(QPrinter& printer, forms::PrintDocument& document, QWidget* parent)
    : printer_(printer), document_(document), dialog_(new QPrintPreviewDialog(&printer, parent)) {
    // The preview shows every line, each page drawn from the list as it is
    // painted (a print by Qt's own button, were it not found below, prints
    // the selection when asked).
    QObject::connect(dialog_, &QPrintPreviewDialog::paintRequested, dialog_, [this](QPrinter* p) {
        // Thousands of pages take seconds.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QPainter painter(p);
        drawPages(painter, *p, document_, p->printRange() == QPrinter::Selection);
        QGuiApplication::restoreOverrideCursor();
    });
    // Qt's print button opens a print dialog that knows of no selection; ours
    // offers it, and prints as printDocument() does.
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : dialog_->findChildren<QAction*>()) {
        if (action->text() != printText) continue;
        action->disconnect(dialog_);
        QObject::connect(action, &QAction::triggered, dialog_, [this] { print(); });
        offersSelection_ = true;
        break;
    }
    dialog_->installEventFilter(new EnterPrints(dialog_, [this] { print(); }));
}

PrintPreview::~PrintPreview() {
    delete dialog_;
}

void PrintPreview::print() {
    QPrintDialog ask(&printer_, dialog_);
    ask.setOption(QAbstractPrintDialog::PrintSelection, document_.hasSelection());
    if (ask.exec() != QDialog::Accepted) return;
    // Shown when the print takes more than a moment; its button (or
    // Escape) stops the print.
    QProgressDialog progress(dialog_);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setWindowTitle(QStringLiteral("プリント出力"));
    progress.setLabelText(QStringLiteral("印刷中"));
    outcome_ = printDocument(printer_, document_, [&progress](int drawn, int total) {
        progress.setMaximum(total);
        progress.setValue(drawn);
        return !progress.wasCanceled();
    });
    dialog_->accept();
}

forms::PrintOutcome QtApplication::printPreview(forms::PrintDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, document);
    PrintPreview preview(printer, document, mainWindow_);
    preview.dialog().exec();
    return preview.outcome();
}

}  // namespace qtbind
