// Folders read ahead on worker threads change nothing the scan gives its
// host: lines, Side A rows, counters, poll points and where a stop ends it.

#include "tests/engine/scan_fixture.h"

#include <gtest/gtest.h>

using Mode = ScanFixture::Mode;

namespace {

struct Outcome {
    QStringList lines, shownPaths;
    std::vector<QString> sideA;
    QString foundCount;
    int polls = 0;
    qint64 listed = 0, matched = 0;
    QByteArray workFile;
    bool operator==(const Outcome&) const = default;
};

Outcome scan(const TempTree& tree, int threads, Mode mode, const QString& type, const QString& ext,
             int stopAtPoll = 0) {
    ScanFixture f(tree);
    f.scan.readThreads = threads;
    if (stopAtPoll)
        f.host.onPoll = [&](int poll) {
            if (poll == stopAtPoll) f.scan.settings.abortRequested = true;
        };
    Outcome o;
    o.lines = f.run(mode, QStringLiteral("C:\\"), type, ext);
    o.shownPaths = f.host.shownPaths;
    for (const SideARow& r : f.host.sideA) o.sideA.push_back(r.path + r.size + r.date);
    o.foundCount = f.host.foundCount;
    o.polls = f.host.polls;
    o.listed = f.scan.listedCount;
    o.matched = f.scan.matchCount;
    o.workFile = f.workFileBytes;
    return o;
}

}  // namespace

TEST(ReadAhead, TheSameScanWhateverTheNumberOfThreads) {
    TempTree tree;
    // Wide and deep: 30 folders of 3 levels, some empty, one deeper than the
    // listed depth, and a folder of many subfolders.
    for (int a = 0; a < 30; ++a)
        for (int b = 0; b < 3; ++b) {
            const QByteArray dir = "d" + QByteArray::number(a) + "/e" + QByteArray::number(b);
            if ((a + b) % 4)
                tree.file(dir + "/f" + QByteArray::number(a * b) + ".txt", a * 100 + b);
            tree.folder(dir + "/empty");
        }
    for (int i = 0; i < 300; ++i) tree.folder("many/s" + QByteArray::number(i));
    tree.deepFolders("deep", 20, "bottom.txt");
    const struct {
        Mode mode;
        const char* type;
        const char* ext;
    } runs[] = {{Mode::Totals, "1", "*"}, {Mode::Plain, "2", "txt"}, {Mode::Folders, "1", "*"}};
    for (const auto& r : runs) {
        const Outcome one =
            scan(tree, 1, r.mode, QString::fromLatin1(r.type), QString::fromLatin1(r.ext));
        EXPECT_GT(one.lines.size(), 60);
        for (int threads : {2, 4}) {
            EXPECT_TRUE(scan(tree, threads, r.mode, QString::fromLatin1(r.type),
                             QString::fromLatin1(r.ext)) == one)
                << threads << " threads, mode " << int(r.mode);
        }
        // A stop is seen at the same poll point, the rest left unread.
        for (int stop : {3, 40}) {
            const Outcome a = scan(tree, 1, r.mode, QString::fromLatin1(r.type),
                                   QString::fromLatin1(r.ext), stop);
            EXPECT_TRUE(scan(tree, 4, r.mode, QString::fromLatin1(r.type),
                             QString::fromLatin1(r.ext), stop) == a)
                << "stop at " << stop;
            EXPECT_LT(a.lines.size(), one.lines.size());
        }
    }
}
