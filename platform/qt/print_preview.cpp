#include "platform/qt/print_preview.h"

#include "platform/qt/print_pages.h"
#include "platform/qt/qt_application.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>

namespace qtbind {
namespace {

// Enter in the preview prints, as Enter accepts a dialog; in the page number
// box it still turns to the page typed, and on a tool it presses that tool.
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
        if (auto* tool = qobject_cast<QAbstractButton*>(QApplication::focusWidget()))
            tool->click();
        else
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
    // Nor a hidden ".pdf" for a folder whose name starts with a dot.
    while (name.startsWith(u'.')) name.remove(0, 1);
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
    : printer_(printer),
      document_(document),
      dialog_(new QDialog(parent)),
      view_(new PageView(document, dialog_)),
      number_(new QLineEdit(dialog_)),
      total_(new QLabel(dialog_)) {
    dialog_->setWindowTitle(QCoreApplication::translate("Tolan", "プリント出力"));
    number_->setAccessibleName(QCoreApplication::translate("Tolan", "ページ番号"));
    view_->setAccessibleName(QCoreApplication::translate("Tolan", "ページ"));
    auto* bar = new QToolBar(dialog_);
    addTools(*bar);
    auto* column = new QVBoxLayout(dialog_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(view_, 1);
    view_->onPageChanged([this] {
        number_->setText(QString::number(view_->currentPage()));
        total_->setText(QStringLiteral(" / %1 ").arg(view_->pageCount()));
        view_->setAccessibleDescription(
            QStringLiteral("%1 / %2").arg(view_->currentPage()).arg(view_->pageCount()));
    });
    layOut();
    reachByTab(*bar);
    dialog_->installEventFilter(new EnterPrints(dialog_, [this] { print(); }));
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        dialog_->resize(room.width() * 2 / 3, room.height() * 5 / 6);
    }
    // Every tool in sight, none in the bar's overflow menu, where Tab
    // cannot reach it.
    dialog_->setMinimumWidth(bar->sizeHint().width());
    view_->setFocus();
}

PrintPreview::~PrintPreview() {
    delete dialog_;
}

void PrintPreview::addTools(QToolBar& bar) {
    QAction* printing =
        bar.addAction(QCoreApplication::translate("Tolan", "印刷"), [this] { print(); });
    printing->setShortcut(QKeySequence::Print);
    bar.addSeparator();
    auto* fits = new QActionGroup(&bar);
    fits->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const auto fit = [&](const QString& text, PageView::Zoom zoom) {
        QAction* a = bar.addAction(text, [this, zoom] { view_->setZoom(zoom); });
        a->setCheckable(true);
        fits->addAction(a);
        return a;
    };
    fit(QCoreApplication::translate("Tolan", "幅に合わせる"), PageView::Zoom::FitWidth)
        ->setChecked(true);
    fit(QCoreApplication::translate("Tolan", "ページ全体"), PageView::Zoom::FitPage);
    const auto zoom = [&](const QString& text, QKeySequence::StandardKey key, double by) {
        QAction* a = bar.addAction(text, [this, fits, by] {
            if (QAction* checked = fits->checkedAction()) checked->setChecked(false);
            view_->zoomBy(by);
        });
        a->setShortcut(key);
    };
    zoom(QCoreApplication::translate("Tolan", "拡大"), QKeySequence::ZoomIn, 1.25);
    zoom(QCoreApplication::translate("Tolan", "縮小"), QKeySequence::ZoomOut, 0.8);
    bar.addSeparator();
    auto* turns = new QActionGroup(&bar);
    const auto turn = [&](const QString& text, QPageLayout::Orientation orientation) {
        QAction* a = bar.addAction(text, [this, orientation] {
            printer_.setPageOrientation(orientation);
            layOut();
        });
        a->setCheckable(true);
        a->setChecked(printer_.pageLayout().orientation() == orientation);
        turns->addAction(a);
    };
    turn(QCoreApplication::translate("Tolan", "縦"), QPageLayout::Portrait);
    turn(QCoreApplication::translate("Tolan", "横"), QPageLayout::Landscape);
    bar.addAction(QCoreApplication::translate("Tolan", "用紙設定"), [this] {
        QPageSetupDialog setup(&printer_, dialog_);
        if (setup.exec() == QDialog::Accepted) layOut();
    });
    bar.addSeparator();
    // The page in sight; a number typed and Enter turn to it.
    number_->setValidator(new QIntValidator(1, 999999, number_));
    number_->setAlignment(Qt::AlignRight);
    number_->setMaximumWidth(number_->fontMetrics().horizontalAdvance(u'0') * 8);
    QObject::connect(number_, &QLineEdit::returnPressed, dialog_,
                     [this] { view_->showPage(number_->text().toInt()); });
    bar.addWidget(number_);
    bar.addWidget(total_);
    bar.addSeparator();
    bar.addAction(QCoreApplication::translate("Tolan", "戻る"), dialog_, &QDialog::reject);
}

// Tab goes from the page through the tools in their order and back to the
// page; a click on a tool leaves the focus on the page.
void PrintPreview::reachByTab(QToolBar& bar) {
    QWidget* last = view_;
    for (QAction* a : bar.actions()) {
        QWidget* tool = bar.widgetForAction(a);
        if (!tool || a->isSeparator() || tool == total_) continue;
        if (tool != number_) tool->setFocusPolicy(Qt::TabFocus);
        QWidget::setTabOrder(last, tool);
        last = tool;
    }
    QWidget::setTabOrder(last, view_);
}

// The pages again for the printer's paper and orientation.
void PrintPreview::layOut() {
    document_.layOut(pageArea(printer_.pageLayout()), measurePrintFont(printer_), false);
    view_->setPaper(printer_.pageLayout());
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
    progress.setWindowTitle(QCoreApplication::translate("Tolan", "プリント出力"));
    progress.setLabelText(QCoreApplication::translate("Tolan", "印刷中"));
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
