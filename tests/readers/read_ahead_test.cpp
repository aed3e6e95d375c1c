// Folders read ahead on worker threads change nothing the scan gives its
// host: lines, Side A rows, counters, poll points and where a stop ends it.

#include "tests/engine/scan_fixture.h"

#include "platform/dosfs/fault_seam.h"
#include "platform/readers/read_clock.h"

#include <QFile>
#include <QRegularExpression>

#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Threads as tolan-list gives them, or adapting: `kAdapt` as tolan-list
// runs, kInteractive as the window does (only workers read, on a tree
// whose reads are slow enough that the readers grow).
constexpr int kAdapt = 0;
constexpr int kInteractive = -1;

Outcome scan(const TempTree& tree, int threads, Mode mode, engine::ListType type,
             const QString& ext, int stopAtPoll = 0) {
    ScanFixture f(tree);
    f.scan.readers = threads == kAdapt || threads == kInteractive
                         ? readers::ReadAhead::Readers::adapt()
                         : readers::ReadAhead::Readers::fixed(threads);
    f.host.isInteractive = threads == kInteractive;
    if (threads == kInteractive) dosfs::faults::delayFolderReads(tree.path(""), 1);
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
    o.listed = f.scan.listing.listedCount();
    o.matched = f.scan.matchCount;
    o.workFile = f.workFileBytes;
    dosfs::faults::clearAll();
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
        engine::ListType type;
        const char* ext;
    } runs[] = {{Mode::Totals, engine::ListType::FullPaths, "*"},
                {Mode::Plain, engine::ListType::Names, "txt"},
                {Mode::Folders, engine::ListType::FullPaths, "*"}};
    for (const auto& r : runs) {
        const Outcome one = scan(tree, 1, r.mode, r.type, QString::fromLatin1(r.ext));
        EXPECT_GT(one.lines.size(), 60);
        for (int threads : {2, 4, kAdapt, kInteractive}) {
            EXPECT_TRUE(scan(tree, threads, r.mode, r.type, QString::fromLatin1(r.ext)) == one)
                << threads << " threads, mode " << int(r.mode);
        }
        // A stop is seen at the same poll point, the rest left unread.
        for (int stop : {3, 40}) {
            const Outcome a = scan(tree, 1, r.mode, r.type, QString::fromLatin1(r.ext), stop);
            for (int threads : {4, kInteractive})
                EXPECT_TRUE(scan(tree, threads, r.mode, r.type, QString::fromLatin1(r.ext), stop) ==
                            a)
                    << "stop at " << stop << ", " << threads << " threads";
            EXPECT_LT(a.lines.size(), one.lines.size());
        }
    }
}

TEST(ReadAhead, ChangesBetweenReadingAheadAndTheTurnAreListed) {
    for (int threads : {1, 4}) {
        TempTree tree;
        tree.file("a/first.txt", 10);
        tree.file("b/sub/inner/deep.txt", 20);
        tree.file("b/keep/gone.txt", 30);
        tree.file("b/keep/stays.txt", 40);
        // Older than a jiffy by the time the scan changes them, so that a
        // change shows in the folders' stamps.
        ::usleep(50'000);
        ScanFixture f(tree);
        f.scan.readers = readers::ReadAhead::Readers::fixed(threads);
        // While "a" is listed, "b" and "b/keep" change after the workers
        // have had the time to read them ahead.
        f.host.onFolder = [&tree](const QString& path) {
            if (path != QLatin1String("C:\\a")) return;
            ::usleep(100'000);
            ASSERT_EQ(::rename(tree.path("b/sub").constData(), tree.path("b/zzz").constData()), 0);
            tree.file("b/new/born.txt", 50);
            tree.remove("b/keep/gone.txt");
        };
        const QStringList lines = f.run(Mode::Totals);
        const QString all = lines.join(u'\n');
        EXPECT_TRUE(lines.contains(QStringLiteral("C:\\b\\zzz\\inner"))) << threads;
        EXPECT_TRUE(all.contains(QStringLiteral("C:\\b\\new\\born.txt"))) << threads;
        EXPECT_TRUE(all.contains(QStringLiteral("C:\\b\\keep\\stays.txt"))) << threads;
        EXPECT_FALSE(all.contains(QStringLiteral("sub"))) << threads;
        EXPECT_FALSE(all.contains(QStringLiteral("gone.txt"))) << threads;
        EXPECT_EQ(f.host.foundCount, QStringLiteral("4")) << threads;
    }
}

TEST(ReadAhead, WideAndDeepTreesAreReadOnlyAsFarAsTheScanGoes) {
    TempTree tree(TempTree::InMemory{});
    tree.folder("wide");
    for (int i = 0; i < 100000; ++i)
        ASSERT_EQ(::mkdir(tree.path("wide/w" + QByteArray::number(i)).constData(), 0755), 0);
    tree.deepFolders("d", 10000, "bottom.txt");
    QByteArray ninth = tree.path("");
    if (ninth.endsWith('/')) ninth.chop(1);
    for (int i = 0; i < 9; ++i) ninth += "/d";
    dosfs::faults::failOperation(dosfs::faults::Op::Open, 0, ninth);
    QString eighth = QStringLiteral("C:");
    for (int i = 0; i < 8; ++i) eighth += QStringLiteral("\\d");
    ScanFixture f(tree);
    f.scan.readers = readers::ReadAhead::Readers::fixed(4);
    // Time for the workers to read below the deepest listed folder, if they
    // ever would.
    f.host.onFolder = [&eighth](const QString& path) {
        if (path == eighth) ::usleep(200'000);
    };
    const QStringList lines = f.run(Mode::Totals);
    const int below = dosfs::faults::calls(dosfs::faults::Op::Open, ninth);
    dosfs::faults::clearAll();
    EXPECT_EQ(below, 0) << "folders below the eighth level were opened";
    EXPECT_TRUE(f.host.finished);
    // Every folder of the wide one has its header and footer, in order.
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^C:\\\\wide\\\\w\\d+$"))).size(),
              100000);
    const qsizetype at = lines.indexOf(QStringLiteral("C:\\wide\\w0"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines[at + 2], QStringLiteral("C:\\wide\\w1"));
    EXPECT_EQ(lines[at + 4], QStringLiteral("C:\\wide\\w10"));
    EXPECT_TRUE(lines.contains(eighth));
    EXPECT_FALSE(lines.contains(eighth + QStringLiteral("\\d")));
}

TEST(ReadAhead, ReadersFollowTheShareOfTheirTimeSpentWaitingOnTheDevice) {
    const struct {
        int processors;
        double blocked;
        int readers;
    } rows[] = {{2, 0.0, 2},  {2, 0.25, 4}, {2, 0.5, 6}, {2, 0.75, 14},
                {2, 1.0, 16}, {1, 0.0, 1},  {1, 0.5, 3}, {32, 0.0, 16}};
    for (const auto& r : rows)
        EXPECT_EQ(readers::ReadAhead::readersFor(r.processors, r.blocked), r.readers)
            << r.processors << " processors, " << r.blocked << " blocked";

    // Reads that wait on the device make the readers grow to the most; once
    // reads are quick again they fall back. The share each read waited is
    // given through the seam: the clock's own figure on a busy machine is
    // the clock test's concern. On one processor, so that quick reads call
    // for one reader whatever machine runs the test.
    cpu_set_t was, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof was, &was), 0);
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &was)) {
            CPU_SET(cpu, &one);
            break;
        }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    struct Restore {
        cpu_set_t& set;
        ~Restore() { sched_setaffinity(0, sizeof set, &set); }
    } restore{was};
    TempTree tree{TempTree::InMemory{}};
    std::vector<QByteArray> names;
    for (int i = 0; i < 160; ++i) {
        names.push_back("f" + QByteArray::number(i));
        tree.folder(names.back());
    }
    auto root = std::make_shared<dosfs::Directory>();
    ASSERT_EQ(dosfs::Directory::open(tree.path(""), *root), 0);
    readers::ReadAhead readAhead(readers::ReadAhead::Readers::adapt(), {}, [] { return false; });
    readers::ReadAhead::Folder dir;
    dosfs::FolderContents contents;
    const auto readAll = [&](int from, double share) {
        dosfs::faults::measureFolderReads(tree.path(""), share);
        readAhead.plan(root, {names.begin() + from, names.begin() + from + 80}, 0);
        for (int i = from; i < from + 80; ++i)
            ASSERT_EQ(readAhead.take(root, names[size_t(i)], 0, dir, contents), 0);
        dosfs::faults::clearAll();
    };
    readAll(0, 1.0);
    EXPECT_EQ(readAhead.readers(), readers::ReadAhead::kMostReaders);
    readAll(80, 0.0);
    EXPECT_EQ(readAhead.readers(), 1);
}

TEST(ReadAhead, TheClockCountsASleepAsAWaitAndWorkAsNone) {
    double spent = 0, blocked = 0;
    {
        const readers::ReadClock clock;
        ::usleep(30'000);
        clock.stop(spent, blocked);
    }
    EXPECT_GE(spent, 0.025);
    EXPECT_GT(blocked, spent * 0.8);
    {
        const readers::ReadClock clock;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
        volatile unsigned sum = 0;
        while (std::chrono::steady_clock::now() < until) sum = sum + 1;
        clock.stop(spent, blocked);
    }
    EXPECT_LT(blocked, spent * 0.5);
}

TEST(ReadAhead, ProcessorsFollowTheControlGroupsQuota) {
    TempTree fs;
    const auto write = [&fs](const QByteArray& rel, const QByteArray& text) {
        fs.file(rel);
        QFile file(QString::fromLocal8Bit(fs.path(rel)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text + '\n');
    };
    write("a/b/cpu.max", "150000 100000");      // 1.5 processors: 2
    write("a/cpu.max", "max 100000");           // no quota above it
    write("c/d/cpu.max", "max 100000");         // none of its own,
    write("c/cpu.max", "100000 100000");        // but its parent's: 1
    write("cpu.max", "300000 100000");          // a container's own group
    write("cpu/g/cpu.cfs_quota_us", "250000");  // the older hierarchy
    write("cpu/g/cpu.cfs_period_us", "100000");
    write("cpu/h/cpu.cfs_quota_us", "-1");
    write("cpu/h/cpu.cfs_period_us", "100000");
    const struct {
        const char* membership;
        int processors;
    } rows[] = {{"0::/a/b\n", 2},
                {"0::/c/d\n", 1},
                {"0::/\n", 3},
                {"0::/gone/elsewhere\n", 3},
                {"12:memory:/m\n4:cpu,cpuacct:/g\n1:name=systemd:/\n", 3},
                {"4:cpuacct,cpu:/h\n", 0},
                {"5:memory:/g\n0::/a\n", 3},
                {"", 0}};
    for (const auto& r : rows)
        EXPECT_EQ(readers::ReadAhead::processorsOfQuota(fs.root(), r.membership), r.processors)
            << r.membership;
}
