// The occupancy graph at scale: FILES files in FOLDERS folders fed to the
// graph's builder as a scan feeds it (folders in pre-order, at most six
// levels, Japanese and ASCII names, sizes spread over six orders of
// magnitude), then laid out and drawn at 1600 × 1000 as the window does.
// Prints the time to build, the layout time, the drawing time and the
// memory the graph holds (its own estimate and the process's peak growth).

#include "bench/peak_memory.h"
#include "bench/xorshift.h"
#include "platform/qt/treemap_paint.h"
#include "platform/treemap/tree_builder.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

const char* const kFolderStems[] = {"src", "docs", "資料", "写真", "backup", "プロジェクト"};
const char* const kFileStems[] = {"file_", "データ_", "報告書", "IMG_", "notes-", "ﾃｽﾄ"};
const char* const kExtensions[] = {".txt", ".csv", ".doc", ".JPG", ".xls", ".zip", ""};

// Feeds the builder; returns the seconds it took.
double feed(treemap::TreeBuilder& b, long files, long folders) {
    QElapsedTimer clock;
    clock.start();
    b.start(QStringLiteral("C:\\bench"));
    std::vector<QString> paths{QStringLiteral("C:\\bench")};
    std::vector<int> depth{0};
    const long perFolder = files / folders;
    long made = 0;
    for (long f = 0; f < folders; ++f) {
        if (f > 0) {
            // A parent among the last folders made, so the tree stays a tree
            // in pre-order: any folder on the path to the latest one.
            size_t parent = paths.size() - 1;
            while (parent > 0 && (depth[parent] >= 6 || bench::next() % 3 == 0)) --parent;
            paths.resize(parent + 1);
            depth.resize(parent + 1);
            paths.push_back(paths.back() + u'\\' +
                            QString::fromUtf8(kFolderStems[bench::next() % 6]) +
                            QString::number(f));
            depth.push_back(depth.back() + 1);
            b.folder(paths.back());
        }
        const long n = f + 1 == folders ? files - made : perFolder;
        for (long i = 0; i < n; ++i, ++made) {
            const qint64 size = qint64(bench::next() % 1000) << (bench::next() % 20);
            b.file(QString::fromUtf8(kFileStems[bench::next() % 6]) + QString::number(i) +
                       QString::fromUtf8(kExtensions[bench::next() % 7]),
                   size);
        }
    }
    return clock.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    const long files = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    const long folders = argc > 2 ? std::atol(argv[2]) : 20'000;
    int qtArgc = 3;
    char platform[] = "-platform", offscreen[] = "offscreen";
    char* qtArgv[] = {argv[0], platform, offscreen, nullptr};
    QGuiApplication gui(qtArgc, qtArgv);
    const long before = peakKiB();

    treemap::TreeBuilder builder;
    const double built = feed(builder, files, folders);
    const auto tree = builder.finish(false);
    const long afterTree = peakKiB();

    constexpr int kW = 1600, kH = 1000;
    QElapsedTimer clock;
    clock.start();
    const auto tiles = qtbind::graphTiles(*tree, 0, kW, kH);
    const double laidOut = clock.nsecsElapsed() / 1e6;

    QImage image(kW, kH, QImage::Format_RGB32);
    double drawn = 1e9;
    for (int round = 0; round < 3; ++round) {
        image.fill(Qt::white);
        clock.restart();
        QPainter p(&image);
        qtbind::paintGraph(p, *tree, tiles, qtbind::GraphColours::ByKind);
        p.end();
        drawn = std::min(drawn, clock.nsecsElapsed() / 1e6);
    }
    // What the window repaints on a hover: the drawn picture and a frame.
    QImage screen(kW, kH, QImage::Format_RGB32);
    clock.restart();
    for (int round = 0; round < 10; ++round) {
        QPainter p(&screen);
        p.drawImage(0, 0, image);
        p.setPen(QPen(Qt::yellow, 2));
        p.drawRect(QRectF(tiles[tiles.size() / 2].x, tiles[tiles.size() / 2].y, 40, 40));
    }
    const double repainted = clock.nsecsElapsed() / 1e6 / 10;

    std::printf("graph of %ld files in %ld folders: %d nodes, %zu tiles at %dx%d\n", files, folders,
                tree->size(), tiles.size(), kW, kH);
    std::printf("  build from the files   %8.0f ms (%.2f us a file)\n", built * 1000,
                built * 1e6 / double(files));
    std::printf("  layout                 %8.1f ms\n", laidOut);
    std::printf("  drawing every tile     %8.1f ms\n", drawn);
    std::printf("  repaint (hover)        %8.2f ms\n", repainted);
    std::printf("  graph memory           %8.1f MiB (tree), %.1f MiB (tiles)\n",
                double(tree->memoryBytes()) / 1048576.0,
                double(tiles.capacity() * sizeof(treemap::Tile)) / 1048576.0);
    std::printf("  peak growth            %8.1f MiB (building), %.1f MiB (all)\n",
                double(afterTree - before) / 1024.0, double(peakKiB() - before) / 1024.0);
    return 0;
}
