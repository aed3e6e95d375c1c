// tolan-list --graph: the SVG holds the rectangles the layout computes.

#include "platform/dosfs/host_name.h"
#include "platform/qt/treemap_paint.h"
#include "platform/treemap/tree_builder.h"
#include "tests/support/temp_tree.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct SvgRect {
    double x, y, w, h;
    QString title;
};

std::vector<SvgRect> rectsOf(const QByteArray& svg) {
    std::vector<SvgRect> rects;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"rect") {
            const auto a = xml.attributes();
            rects.push_back({a.value("x").toDouble(),
                             a.value("y").toDouble(),
                             a.value("width").toDouble(),
                             a.value("height").toDouble(),
                             {}});
        } else if (xml.isStartElement() && xml.name() == u"title" && !rects.empty()) {
            rects.back().title = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return rects;
}

int runList(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOLAN_LIST), args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(GraphOutput, TheSvgHoldsTheLayoutsRectanglesWithPathsAndBytes) {
    TempTree t;
    t.file("a.txt", 3000);
    t.file("写真/x.jpg", 5000);
    t.file("写真/\xff.bin", 700);
    t.file("写真/deep/y", 1200);
    t.file("empty/z", 0);
    for (int i = 0; i < 40; ++i) t.file("many/f" + QByteArray::number(100 + i), 10 + i);
    const QString svgPath = QString::fromUtf8(t.path("")) + QStringLiteral("/../g.svg");
    ASSERT_EQ(runList({"--drive=C:=" + QString::fromUtf8(t.root()), "--graph", svgPath, "--width",
                       "400", "--height", "300", "C:\\"}),
              0);
    QFile file(svgPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<SvgRect> rects = rectsOf(file.readAll());

    // The same tree, in the order the scan visits it.
    treemap::TreeBuilder b;
    b.start(QStringLiteral("C:\\"));
    b.file(QStringLiteral("a.txt"), 3000);
    b.folder(QStringLiteral("C:\\empty"));
    b.file(QStringLiteral("z"), 0);
    b.folder(QStringLiteral("C:\\many"));
    for (int i = 0; i < 40; ++i) b.file(QStringLiteral("f%1").arg(100 + i), 10 + i);
    b.folder(QStringLiteral("C:\\写真"));
    b.file(dosfs::decodeHostName("\xff.bin"), 700);
    b.file(QStringLiteral("x.jpg"), 5000);
    b.folder(QStringLiteral("C:\\写真\\deep"));
    b.file(QStringLiteral("y"), 1200);
    const auto tree = b.finish(false);
    const auto tiles = qtbind::graphTiles(*tree, 0, 400, 300);

    ASSERT_EQ(rects.size(), tiles.size());
    for (size_t k = 0; k < tiles.size(); ++k) {
        SCOPED_TRACE(rects[k].title.toStdString());
        EXPECT_EQ(rects[k].title, qtbind::tileTitle(*tree, tiles, k));
        EXPECT_NEAR(rects[k].x, tiles[k].x, 0.006);
        EXPECT_NEAR(rects[k].y, tiles[k].y, 0.006);
        EXPECT_NEAR(rects[k].w, tiles[k].w, 0.006);
        EXPECT_NEAR(rects[k].h, tiles[k].h, 0.006);
    }
    // Titles as a script reads them back.
    QStringList titles;
    for (const SvgRect& r : rects) titles << r.title;
    for (const char* title : {".\t11080", "写真\t6900", "写真/\uF7FF.bin\t700", "写真/deep/y\t1200",
                              "many/*\t", "a.txt\t3000"})
        EXPECT_FALSE(titles.filter(QString::fromUtf8(title)).isEmpty()) << title;

    // The PNG of the same folder is a picture of the size asked for.
    const QString pngPath = QString::fromUtf8(t.path("")) + QStringLiteral("/../g.png");
    ASSERT_EQ(runList({"--drive=C:=" + QString::fromUtf8(t.root()), "--graph", pngPath, "--width",
                       "200", "--height", "150", "C:\\"}),
              0);
    EXPECT_EQ(QImage(pngPath).size(), QSize(200, 150));
}

}  // namespace
