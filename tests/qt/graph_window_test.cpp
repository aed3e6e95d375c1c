// The occupancy graph's window, driven through its widgets: the menu item
// before and after a scan, following the next scan, hover, click, zoom and
// keys, a folder gone since the scan, a small window, the legend and the
// names a screen reader hears, the size shown, and saving the picture.

#include "platform/qt/graph_window.h"
#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers the next file dialog with `path` once it waits for the user: the
// name typed into its box, then Enter.
void answerFileDialog(const QString& path) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* box = dialog ? dialog->findChild<QLineEdit*>() : nullptr;
        if (!box || !box->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        QMetaObject::invokeMethod(
            dialog,
            [box, path] {
                box->selectAll();
                QTest::keyClicks(box, path);
                QTest::keyClick(box, Qt::Key_Return);
            },
            Qt::QueuedConnection);
    });
    poll->start(10);
}

class GraphWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("c/work/big/movie.mp4", 4'000'000);
        tree.file("c/work/big/deeper/song.mp3", 1'000'000);
        tree.file("c/work/small/note.txt", 300'000);
        tree.file("c/work/写真/p.jpg", 600'000);
        tree.file("c/work/top.iso", 2'000'000);
        tree.folder("out");
        dosfs::DriveTable drives;
        drives.addMapping("C:=" + tree.path("c"));
        program = std::make_unique<app::Program>(std::move(drives));
        program->load();
        program->form.Dir1.setPath(QStringLiteral("C:\\work"));
    }

    shell::Form1& form() { return program->form; }
    qtbind::GraphWindow* window() {
        return static_cast<qtbind::GraphWindow*>(program->qt.graphWindow());
    }
    void scanAndShow() {
        form().Command3.raiseClick();
        form().sgraph->Click();
        ASSERT_NE(window(), nullptr);
        window()->resize(640, 480);
        window()->show();
        window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    // The centre of the tile of the folder or file named `name` now shown.
    QPoint centreOf(const QString& name) {
        auto& canvas = window()->canvas();
        const auto tree = program->behaviour.lastGraph();
        for (const treemap::Tile& t : canvas.tiles())
            if (!t.rest() && tree->names[size_t(t.node)] == name)
                return QPoint(int(t.x + t.w / 2), int(t.y + t.h / 2));
        ADD_FAILURE() << "no tile of " << name.toStdString();
        return {};
    }
    QString status() { return window()->status().text(); }
    // The mouse comes to rest over a point of the picture.
    void hover(const QPoint& at) {
        QWidget& canvas = window()->canvas();
        QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas.mapToGlobal(QPointF(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &move);
    }

    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
};

TEST_F(GraphWindowTest, BeforeAScanItSaysToScanFirstAfterItShowsTheScannedFolderAndFollowsRescans) {
    form().sgraph->Click();
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(form().Text10.visible());
    EXPECT_EQ(form().Text10.text(), shell::kScanFirst);
    scanAndShow();
    EXPECT_EQ(window()->windowTitle(), shell::kGraphCaption + QStringLiteral(" - C:\\work"));
    const auto graph = program->behaviour.lastGraph();
    EXPECT_FALSE(graph->partial);
    EXPECT_EQ((*graph)[0].bytes, 7'900'000);  // the exact sum of the files below
    EXPECT_GT(window()->canvas().tiles().size(), 8u);
    // A scan of another folder while the graph is open: while it runs the
    // graph says it shows the one before, then it shows that one.
    form().Dir1.setPath(QStringLiteral("C:\\work\\big"));
    const QString earlier = shell::kGraphEarlier.arg(QStringLiteral("C:\\work"));
    QString noteWhileScanning;
    QTimer::singleShot(0, [&] { noteWhileScanning = window()->noteLine().text(); });
    form().Command3.raiseClick();
    EXPECT_TRUE(noteWhileScanning.contains(earlier)) << noteWhileScanning.toStdString();
    EXPECT_FALSE(window()->noteLine().text().contains(earlier));
    EXPECT_EQ(window()->windowTitle(), shell::kGraphCaption + QStringLiteral(" - C:\\work\\big"));
    EXPECT_EQ((*program->behaviour.lastGraph())[0].bytes, 5'000'000);
}

TEST_F(GraphWindowTest, HoverDescribesClickOpensDoubleClickZoomsAndKeysMove) {
    scanAndShow();
    auto& canvas = window()->canvas();
    hover(centreOf(QStringLiteral("movie.mp4")));
    EXPECT_TRUE(status().startsWith(QStringLiteral("C:\\work\\big\\movie.mp4   4000000 バイト")))
        << status().toStdString();
    EXPECT_TRUE(status().endsWith(QStringLiteral("1 Files"))) << status().toStdString();

    // A click on a file selects its folder and opens it in the folder tree.
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("song.mp3")));
    EXPECT_EQ(form().Dir1.path(), QStringLiteral("C:\\work\\big\\deeper"));
    EXPECT_EQ(form().File1.path(), QStringLiteral("C:\\work\\big\\deeper"));

    // A double-click goes one level down, into big, though song.mp3 lies deeper.
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("song.mp3")));
    EXPECT_EQ(window()->windowTitle(), shell::kGraphCaption + QStringLiteral(" - C:\\work\\big"));
    QTest::keyClick(&canvas, Qt::Key_Backspace);
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("movie.mp4")));
    EXPECT_EQ(window()->windowTitle(), shell::kGraphCaption + QStringLiteral(" - C:\\work\\big"));
    QTest::keyClick(&canvas, Qt::Key_Backspace);
    EXPECT_EQ(canvas.top(), 0);
    // The folder one came up from stays chosen; the arrows move among its
    // neighbours and Enter zooms into the one chosen.
    const int big = canvas.selected();
    ASSERT_GE(big, 0);
    EXPECT_EQ(program->behaviour.lastGraph()->names[size_t(canvas.tiles()[size_t(big)].node)],
              QStringLiteral("big"));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) {
        QTest::keyClick(&canvas, key);
        if (canvas.selected() != big) break;
    }
    ASSERT_NE(canvas.selected(), big);
    EXPECT_EQ(canvas.tiles()[size_t(canvas.selected())].depth, 1);
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("movie.mp4")));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(canvas.top(), 0);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("small")));
    QTest::keyClick(&canvas, Qt::Key_Return);
    EXPECT_EQ(window()->windowTitle(), shell::kGraphCaption + QStringLiteral(" - C:\\work\\small"));
}

TEST_F(GraphWindowTest, AFolderGoneSinceTheScanIsSaidToBeGoneAndATinyWindowStillWorks) {
    scanAndShow();
    tree.remove("c/work/small/note.txt");
    tree.remove("c/work/small");
    auto& canvas = window()->canvas();
    const QString before = form().Dir1.path();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, centreOf(QStringLiteral("small")));
    EXPECT_TRUE(status().contains(shell::kNoFolder)) << status().toStdString();
    EXPECT_EQ(form().Dir1.path(), before);
    hover(QPoint(1, 1));
    hover(centreOf(QStringLiteral("note.txt")));
    EXPECT_TRUE(status().contains(shell::kNoFolder)) << status().toStdString();

    window()->resize(200, 150);
    QTest::qWait(20);
    const QRectF area(0, 0, canvas.width(), canvas.height());
    ASSERT_FALSE(canvas.tiles().empty());
    for (const treemap::Tile& t : canvas.tiles())
        EXPECT_TRUE(area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(QRectF(t.x, t.y, t.w, t.h)));
}

TEST_F(GraphWindowTest, EveryControlIsNamedTheLegendHasTheGreysAndTheCanvasTellsItsTile) {
    scanAndShow();
    for (QWidget* w : window()->findChildren<QWidget*>()) {
        if (!w->isVisible() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        const QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->metaObject()->className();
    }
    const QString legend = window()->legend().text();
    for (const char* grey : {"#b4b4b4\">&nbsp;&nbsp;&nbsp;</span>&nbsp;残りのファイル",
                             "#a0a0a0\">&nbsp;&nbsp;&nbsp;</span>&nbsp;小さすぎる項目"})
        EXPECT_TRUE(legend.contains(QString::fromUtf8(grey))) << legend.toStdString();
    // A screen reader is told the tile under the pointer: name, size, share.
    auto& canvas = window()->canvas();
    hover(centreOf(QStringLiteral("movie.mp4")));
    const QString told =
        QAccessible::queryAccessibleInterface(&canvas)->text(QAccessible::Description);
    EXPECT_TRUE(told.startsWith(QStringLiteral("C:\\work\\big\\movie.mp4   4000000 バイト")))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith(QStringLiteral("50.6 %"))) << told.toStdString();
}

// The listing counts the files' lengths; the graph may show the space they
// take on disk instead, where the sparse files of the tree take none.
TEST_F(GraphWindowTest, ItShowsTheSpaceOnDiskWhenAskedAndSaysWhichSizeItShows) {
    tree.file("c/work/real/data.bin");
    QFile data(QString::fromUtf8(tree.path("c/work/real/data.bin")));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write(QByteArray(256 * 1024, 'x'));
    data.close();
    scanAndShow();
    auto& canvas = window()->canvas();
    const auto shareOf = [&](const QString& name) {
        const auto graph = program->behaviour.lastGraph();
        for (const treemap::Tile& t : canvas.tiles())
            if (t.depth == 1 && !t.rest() && graph->names[size_t(t.node)] == name)
                return t.w * t.h / (canvas.width() * canvas.height());
        return 0.f;
    };
    EXPECT_TRUE(window()->noteLine().text().startsWith(QStringLiteral("面積: ファイルの長さ")));
    EXPECT_LT(shareOf(QStringLiteral("real")), 0.05);
    window()->measureBox().setCurrentIndex(1);
    EXPECT_TRUE(window()->noteLine().text().startsWith(QStringLiteral("面積: ディスク使用量")));
    EXPECT_GT(shareOf(QStringLiteral("real")), 0.8);
    hover(centreOf(QStringLiteral("data.bin")));
    EXPECT_TRUE(status().contains(QStringLiteral("   262144 バイト"))) << status().toStdString();
}

// Run at scale 1.5 too: the PNG has the screen's pixels, is marked to be
// shown at the window's size, and has a title above and the legend below.
TEST_F(GraphWindowTest, ScaledPngIsAtThePixelRatioWithTitleAndLegend) {
    scanAndShow();
    auto& canvas = window()->canvas();
    const QString path = QString::fromUtf8(tree.path("out/graph.png"));
    ASSERT_TRUE(window()->saveTo(path));
    const QImage png(path);
    const qreal ratio = canvas.devicePixelRatioF();
    EXPECT_EQ(png.width(), qRound(canvas.width() * ratio));
    EXPECT_GE(png.height(), qRound((canvas.height() + 40) * ratio));
    EXPECT_EQ(png.dotsPerMeterX(), qRound(ratio * 96 / 0.0254));
    const auto bandHas = [&](int from, int to, const std::function<bool(QColor)>& wanted) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < png.width(); ++x)
                if (wanted(png.pixelColor(x, y))) return true;
        return false;
    };
    const int band = qRound(20 * ratio);
    EXPECT_TRUE(bandHas(0, band, [](QColor c) { return c.lightness() < 80; }));  // the title
    // The legend's last line: the greys of remaining files and of tiles too small.
    for (const QColor& swatch : {QColor(0xb4, 0xb4, 0xb4), QColor(0xa0, 0xa0, 0xa0)})
        EXPECT_TRUE(bandHas(png.height() - band, png.height(), [&](QColor c) {
            return c == swatch;
        })) << swatch.name().toStdString();
}

TEST_F(GraphWindowTest, CtrlSSavesThePictureAsPngOrSvgByItsName) {
    scanAndShow();
    auto& canvas = window()->canvas();
    for (const char* name : {"graph.png", "graph.svg"}) {
        const QString path = QString::fromUtf8(tree.path(QByteArray("out/") + name));
        window()->activateWindow();  // back from the last dialog
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
        answerFileDialog(path);
        QTest::keyClick(&canvas, Qt::Key_S, Qt::ControlModifier);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name << status().toStdString();
        const QByteArray bytes = file.readAll();
        if (path.endsWith(QStringLiteral(".png")))
            EXPECT_EQ(QImage::fromData(bytes).width(), canvas.width());
        else
            EXPECT_EQ(size_t(bytes.count("<rect ")), canvas.tiles().size());
        EXPECT_TRUE(status().contains(path)) << status().toStdString();
    }
}

}  // namespace
