// Printing from the window with Qt: the pages it prints to a PDF are
// tolan-list's; a print to a file that fails leaves nothing; the preview
// draws the pages in sight and its print button offers the selection.

#include "app/program.h"
#include "output/listing_pages.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/qt/print_pages.h"
#include "platform/qt/print_preview.h"
#include "tests/support/pdf_text.h"
#include "tests/support/program_fixture.h"
#include "tests/support/qt_print.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The program over a tree of many names, C:\work scanned; C: is the only drive.
class PrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"日本語の名前.txt", "ﾊﾝｶｸ ｶﾅ.txt", "한국어 파일.doc",
                                 "Русский файл.txt", "crème brûlée, 100%.txt"})
            tree.file(QByteArray("c/work/") + name, 1234);
        for (int i = 0; i < 150; ++i) tree.file("c/work/many/f" + QByteArray::number(i), i);
        tree.folder("out");
        dosfs::DriveTable drives;
        drives.addMapping("C:=" + tree.path("c"));
        program = std::make_unique<app::Program>(std::move(drives));
        program->load();
        form().Dir1.setPath(QStringLiteral("C:\\work"));
        form().Command3.raiseClick();
        ASSERT_GT(form().List1.listCount(), 150);
    }
    void TearDown() override { dosfs::faults::clearAll(); }

    shell::Form1& form() { return program->form; }
    output::ListingPages pages() {
        const engine::Module1& scan = program->behaviour.scan;
        return output::ListingPages(form().List1, scan.settings.scanRoot, scan.scanTime);
    }
    // A printer that prints to a PDF file on the paper tolan-list uses.
    void toPdf(QPrinter& printer, const QByteArray& path, forms::PrintDocument& document) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        qtbind::preparePrinter(printer, document);
        printer.setOutputFileName(QString::fromUtf8(path));
    }

    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
};

QAction* toolAction(QWidget& dialog, const char* text) {
    for (QAction* a : dialog.findChildren<QAction*>())
        if (a->text() == QString::fromUtf8(text)) return a;
    ADD_FAILURE() << "no tool " << text;
    static QAction none;
    return &none;
}

}  // namespace

TEST_F(PrintTest, TheWindowPrintsToAPdfThePagesOfTolanList) {
    output::ListingPages listing = pages();
    QPrinter printer(QPrinter::HighResolution);
    const QByteArray windowPdf = tree.path("out/window.pdf");
    toPdf(printer, windowPdf, listing);
    EXPECT_EQ(printer.docName(), QStringLiteral("work"));  // the dialog offers work.pdf
    for (const auto& [folder, name] : {std::pair{"C:\\.config", "config"}, {"C:\\", "C"}}) {
        output::ListingPages other(form().List1, QString::fromUtf8(folder), 0);
        QPrinter named;
        qtbind::preparePrinter(named, other);
        EXPECT_EQ(named.docName(), QString::fromUtf8(name)) << folder;
    }
    ASSERT_EQ(qtbind::printDocument(printer, listing), forms::PrintOutcome::Printed);

    // tolan-list on the same folder at the same moment, as wide as the window.
    const QByteArray listPdf = tree.path("out/list.pdf");
    QProcess list;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"),
               QString::number(program->behaviour.scan.scanTime));
    list.setProcessEnvironment(env);
    list.start(QStringLiteral(TOLAN_LIST),
               {QStringLiteral("--drive=C:=") + QString::fromUtf8(tree.path("c")),
                QStringLiteral("--width=%1").arg(form().width()), QStringLiteral("--format=pdf"),
                QStringLiteral("-o"), QString::fromUtf8(listPdf), QStringLiteral("C:\\work")});
    ASSERT_TRUE(list.waitForFinished(60000));
    ASSERT_EQ(list.exitCode(), 0) << list.readAllStandardError().constData();

    const int count = pdfPages(QString::fromUtf8(windowPdf));
    EXPECT_GE(count, 3);
    EXPECT_EQ(pdfPages(QString::fromUtf8(listPdf)), count);
    const QString text = pdfText(QString::fromUtf8(windowPdf));
    EXPECT_EQ(pdfText(QString::fromUtf8(listPdf)), text);
    EXPECT_TRUE(text.contains(QStringLiteral("한국어 파일.doc")));
    EXPECT_TRUE(text.contains(QStringLiteral("1 / %1").arg(count)));
}

TEST_F(PrintTest, TheSelectionOrAPageRangeIsPrintedAlone) {
    form().List1.setSelected(5, true);
    output::ListingPages listing = pages();
    for (const QPrinter::PrintRange range : {QPrinter::Selection, QPrinter::PageRange}) {
        QPrinter printer(QPrinter::HighResolution);
        toPdf(printer, tree.path("out/part.pdf"), listing);
        printer.setPrintRange(range);
        printer.setFromTo(2, 2);
        ASSERT_EQ(qtbind::printDocument(printer, listing), forms::PrintOutcome::Printed);
        const QList<QStringList> part =
            pdfPageLines(pdfText(QString::fromUtf8(tree.path("out/part.pdf"))));
        ASSERT_EQ(part.size(), 1) << range;
        if (range == QPrinter::Selection) {
            EXPECT_EQ(part[0].mid(1), (QStringList{words(form().List1.list(5)), "1 / 1"}));
        } else {
            EXPECT_EQ(part[0].last(), QStringLiteral("2 / %1").arg(listing.pageCount()));
        }
    }
}

TEST_F(PrintTest, APdfThatCannotBeWrittenWholeFailsAndLeavesThePreviousFile) {
    output::ListingPages listing = pages();
    QFile old(QString::fromUtf8(tree.path("out/listing.pdf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    const struct {
        const char* what;
        std::function<void()> fault;
        QByteArray path;
    } cases[] = {
        {"disk full part-way", [&] { dosfs::faults::fillDiskAfter(tree.path("out"), 3000); },
         tree.path("out/listing.pdf")},
        {"folder not writable", [&] { dosfs::faults::denyFolder(tree.path("out")); },
         tree.path("out/listing.pdf")},
        {"missing folder", [] {}, tree.path("gone/listing.pdf")},
        {"a folder in its place", [] {}, tree.path("out")},
    };
    for (const auto& c : cases) {
        c.fault();
        QPrinter printer(QPrinter::HighResolution);
        toPdf(printer, c.path, listing);
        EXPECT_EQ(qtbind::printDocument(printer, listing), forms::PrintOutcome::Failed) << c.what;
        dosfs::faults::clearAll();
        EXPECT_EQ(QDir(QString::fromUtf8(tree.path("out"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("listing.pdf")})
            << c.what;
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "previous") << c.what;
        old.close();
    }
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(tree.path("gone"))));
}

TEST_F(PrintTest, APrintStoppedPartWayIsCancelledAndLeavesNoPdf) {
    output::ListingPages listing = pages();
    QPrinter printer(QPrinter::HighResolution);
    toPdf(printer, tree.path("out/stopped.pdf"), listing);
    std::vector<std::pair<int, int>> told;
    const auto stopAtTwo = [&](int drawn, int total) {
        told.emplace_back(drawn, total);
        return drawn < 2;
    };
    EXPECT_EQ(qtbind::printDocument(printer, listing, stopAtTwo), forms::PrintOutcome::Cancelled);
    const int total = listing.pageCount();
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, total}, {2, total}}));
    EXPECT_EQ(QDir(QString::fromUtf8(tree.path("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(PrintTest, ThePreviewDrawsThePagesInSightAndItsPrintDialogOffersTheSelection) {
    // A listing of some hundred pages: the preview draws the pages the user
    // sees, not every page before it shows the first.
    form().List1.clear();  // in place of the scan's lines
    for (int i = 0; i < 20000; ++i) form().List1.addItem(QStringLiteral("line %1 日本語").arg(i));
    for (const bool selected : {false, true}) {
        form().List1.clearSelection();
        if (selected) form().List1.setSelected(3, true);
        output::ListingPages listing = pages();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        qtbind::preparePrinter(printer, listing);
        qtbind::PrintPreview preview(printer, listing, nullptr);
        preview.dialog().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview.dialog()));
        qtbind::PageView& view = preview.pages();
        auto* number = preview.dialog().findChild<QLineEdit*>();
        ASSERT_NE(number, nullptr);
        EXPECT_GT(listing.pageCount(), 250);
        EXPECT_EQ(view.pageCount(), listing.pageCount());
        EXPECT_EQ(number->text(), QStringLiteral("1"));
        QTest::keyClick(&view, Qt::Key_End);
        QCoreApplication::processEvents();
        EXPECT_EQ(number->text(), QString::number(listing.pageCount()));
        EXPECT_LE(view.pagesDrawn(), 6);
        // A screen reader names the page box and the page, and which page it is.
        EXPECT_EQ(number->accessibleName(), QStringLiteral("ページ番号"));
        EXPECT_EQ(view.accessibleName(), QStringLiteral("ページ"));
        EXPECT_EQ(view.accessibleDescription(), QStringLiteral("%1 / %1").arg(listing.pageCount()));
        // Landscape holds fewer lines a page; the preview lays them out again.
        const int portrait = view.pageCount();
        toolAction(preview.dialog(), "横")->trigger();
        EXPECT_GT(view.pageCount(), portrait);
        EXPECT_EQ(view.pageCount(), listing.pageCount());

        // The print button's dialog, or Enter's: whether it offers the
        // selection; then Escape goes back to the preview without printing.
        bool offered = !selected;
        QTimer::singleShot(0, [&] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000))
                return;
            auto* ask = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (ask) {
                offered = ask->testOption(QAbstractPrintDialog::PrintSelection);
                QTest::keyClick(ask, Qt::Key_Escape);
            }
        });
        if (selected)
            QTest::keyClick(&view, Qt::Key_Return);
        else
            QTest::keyClick(&view, Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(offered, selected);
        EXPECT_EQ(preview.outcome(), forms::PrintOutcome::NotPrinted);
        EXPECT_TRUE(preview.dialog().isVisible());
        // Escape in the preview goes back to the window.
        QTest::keyClick(&view, Qt::Key_Escape);
        EXPECT_FALSE(preview.dialog().isVisible());
    }
}
