// tolan-list --compare run as scripts run it: a tree changed in every way,
// both ways round and between two snapshots; a copy elsewhere that is
// complete; snapshots from another time zone and out of order; snapshots
// read once from pipes and FIFOs; snapshots that cannot be compared.

#include "tests/support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

// `program` run with `args`, TZ set to `tz` and the state folder at `state`
// when given.
Outcome runProgram(const QString& program, const QStringList& args, const QByteArray& tz = "UTC",
                   const QByteArray& state = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QString::fromUtf8(tz));
    if (!state.isEmpty()) env.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromUtf8(state));
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

Outcome tolanList(const QStringList& args, const QByteArray& tz = "UTC") {
    return runProgram(QStringLiteral(TOLAN_LIST), args, tz);
}

// A bash script that runs tolan-list as "$0", where <(...) gives a pipe.
Outcome bash(const QString& script, const QStringList& args) {
    return runProgram(QStringLiteral("bash"),
                      QStringList{QStringLiteral("-c"), script, QStringLiteral(TOLAN_LIST)} + args);
}

QString str(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

void writeFile(const QByteArray& path, const QByteArray& data) {
    QFile f(str(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QByteArray& path) {
    QFile f(QString::fromLocal8Bit(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `data` into a FIFO once a reader has opened it (then runs
// `opened`), giving up after twenty seconds without one.
void feedFifo(const QByteArray& fifo, const QByteArray& data,
              const std::function<void()>& opened = {}) {
    int fd = -1;
    for (int i = 0; i < 2000 && fd < 0; ++i) {
        fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (fd < 0) return;
    if (opened) opened();
    ::fcntl(fd, F_SETFL, 0);
    for (qsizetype at = 0; at < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + at, size_t(data.size() - at));
        if (n <= 0) break;
        at += n;
    }
    ::close(fd);
}

// A snapshot of `count` files in one folder, in listing order.
QByteArray manyFiles(int count, int size) {
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += "{\"path\":\"d/f" + QByteArray::number(100000 + i) +
                 ".txt\",\"size\":" + QByteArray::number(size) +
                 ",\"mtime\":\"2024-01-05T05:07:09Z\"}\n";
    return lines;
}

constexpr qint64 kT0 = 1704431229;           // 2024/01/05 5:07:09 UTC
constexpr qint64 kT1 = kT0 + 86400 + 36000;  // 2024/01/06 15:07:09

// The tree before and after: kept, grown, shrunk, touched, removed, renamed,
// moved between folders, a folder emptied, a new folder, a file that became
// a folder.
void makeBefore(TempTree& t, const QByteArray& at) {
    t.file(at + "/keep.txt", 100, kT0);
    t.file(at + "/grow.txt", 100, kT0);
    t.file(at + "/shrink.txt", 300, kT0);
    t.file(at + "/touch.txt", 100, kT0);
    t.file(at + "/gone.txt", 100, kT0);
    t.file(at + "/name.txt", 100, kT0);
    t.file(at + "/turn", 10, kT0);
    t.file(at + "/a/move.txt", 50, kT0);
    t.file(at + "/b/stay.txt", 50, kT0);
    t.file(at + "/empty/x.txt", 1000, kT0);
    t.file(at + "/empty/y.txt", 1000, kT0);
}

void makeAfter(TempTree& t, const QByteArray& at) {
    t.file(at + "/keep.txt", 100, kT0);
    t.file(at + "/grow.txt", 12000000000, kT0);
    t.file(at + "/shrink.txt", 100, kT0);
    t.file(at + "/touch.txt", 100, kT1);
    t.file(at + "/renamed.txt", 100, kT0);
    t.file(at + "/turn/in.txt", 10, kT0);
    t.folder(at + "/a");
    t.file(at + "/b/move.txt", 50, kT0);
    t.file(at + "/b/stay.txt", 50, kT0);
    t.folder(at + "/empty");
    t.file(at + "/newdir/n.txt", 20, kT1);
}

const char kForward[] =
    ".\r\n"
    "-       100 2024/01/05 5:07:09   ->                                 gone.txt\r\n"
    "*       100 2024/01/05 5:07:09   ->  12000000000 2024/01/05 5:07:09  grow.txt\r\n"
    "-       100 2024/01/05 5:07:09   ->                                 name.txt\r\n"
    "+                                ->        100 2024/01/05 5:07:09   renamed.txt\r\n"
    "*       300 2024/01/05 5:07:09   ->        100 2024/01/05 5:07:09   shrink.txt\r\n"
    "*       100 2024/01/05 5:07:09   ->        100 2024/01/06 15:07:09  touch.txt\r\n"
    "-        10 2024/01/05 5:07:09   ->                                 turn\r\n"
    "      7 Files <       0.81 KB >  ->      5 Files <    1.2E+07 KB >\r\n"
    ".\\a\r\n"
    "-        50 2024/01/05 5:07:09   ->                                 move.txt\r\n"
    "      1 Files <       0.05 KB >  ->      0 Files <          0 KB >\r\n"
    ".\\b\r\n"
    "+                                ->         50 2024/01/05 5:07:09   move.txt\r\n"
    "      1 Files <       0.05 KB >  ->      2 Files <        0.1 KB >\r\n"
    ".\\empty\r\n"
    "-      1000 2024/01/05 5:07:09   ->                                 x.txt\r\n"
    "-      1000 2024/01/05 5:07:09   ->                                 y.txt\r\n"
    "      2 Files <          2 KB >  ->      0 Files <          0 KB >\r\n"
    ".\\newdir\r\n"
    "+                                ->         20 2024/01/06 15:07:09  n.txt\r\n"
    "      0 Files <          0 KB >  ->      1 Files <       0.02 KB >\r\n"
    ".\\turn\r\n"
    "+                                ->         10 2024/01/05 5:07:09   in.txt\r\n"
    "      0 Files <          0 KB >  ->      1 Files <       0.01 KB >\r\n"
    "Added 4  Removed 6  Changed 3  Unchanged 2  Bytes 2910 -> 12000000530\r\n";

const char kForwardRecords[] =
    R"({"change":"removed","path":"gone.txt","old_size":100,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"changed","path":"grow.txt","old_size":100,"new_size":12000000000,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":"2024-01-05T05:07:09+00:00"}
{"change":"removed","path":"name.txt","old_size":100,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"added","path":"renamed.txt","old_size":null,"new_size":100,"old_mtime":null,"new_mtime":"2024-01-05T05:07:09+00:00"}
{"change":"changed","path":"shrink.txt","old_size":300,"new_size":100,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":"2024-01-05T05:07:09+00:00"}
{"change":"changed","path":"touch.txt","old_size":100,"new_size":100,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":"2024-01-06T15:07:09+00:00"}
{"change":"removed","path":"turn","old_size":10,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"removed","path":"a/move.txt","old_size":50,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"added","path":"b/move.txt","old_size":null,"new_size":50,"old_mtime":null,"new_mtime":"2024-01-05T05:07:09+00:00"}
{"change":"removed","path":"empty/x.txt","old_size":1000,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"removed","path":"empty/y.txt","old_size":1000,"new_size":null,"old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":null}
{"change":"added","path":"newdir/n.txt","old_size":null,"new_size":20,"old_mtime":null,"new_mtime":"2024-01-06T15:07:09+00:00"}
{"change":"added","path":"turn/in.txt","old_size":null,"new_size":10,"old_mtime":null,"new_mtime":"2024-01-05T05:07:09+00:00"}
)";

// A record with its sides swapped: what the comparison the other way round says.
QByteArray mirrored(QByteArray record) {
    record.replace("\"added\"", "\"@\"").replace("\"removed\"", "\"added\"");
    record.replace("\"@\"", "\"removed\"");
    for (const char* field : {"size", "mtime"}) {
        const QByteArray oldKey = QByteArray("\"old_") + field + "\":";
        const QByteArray newKey = QByteArray(",\"new_") + field + "\":";
        const qsizetype o = record.indexOf(oldKey), n = record.indexOf(newKey);
        const qsizetype end =
            record.indexOf(',', n + 1) < 0 ? record.indexOf('}', n) : record.indexOf(',', n + 1);
        const QByteArray before = record.mid(o + oldKey.size(), n - o - oldKey.size());
        const QByteArray after = record.mid(n + newKey.size(), end - n - newKey.size());
        record.replace(n + newKey.size(), after.size(), before);
        record.replace(o + oldKey.size(), before.size(), after);
    }
    return record;
}

}  // namespace

TEST(Compare, ATreeChangedEveryWayGivesItsChangesInTextAndJsonLinesBothWaysRound) {
    TempTree t;
    makeBefore(t, "before");
    makeAfter(t, "after");
    const QString before = str(t.path("before")), after = str(t.path("after"));
    const QString old = str(t.path("old.jsonl")), now = str(t.path("new.jsonl"));
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", old, before}).status, 0);
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", now, after}).status, 0);

    // With the folder scanned now and with its snapshot: the same result.
    for (const QString& other : {after, now}) {
        const Outcome text = tolanList({"--compare", old, other});
        EXPECT_EQ(text.status, 1) << text.err.constData();
        EXPECT_EQ(text.out, QByteArray(kForward));
        EXPECT_EQ(text.err, "");
        const Outcome records = tolanList({"--compare", old, "--format", "jsonl", other});
        EXPECT_EQ(records.status, 1);
        EXPECT_EQ(records.out, QByteArray(kForwardRecords));
    }
    // The other way round: every change mirrored, in the same order.
    const Outcome back = tolanList({"--compare", now, "--format=jsonl", before});
    EXPECT_EQ(back.status, 1);
    QList<QByteArray> expected = QByteArray(kForwardRecords).split('\n');
    for (QByteArray& record : expected)
        if (!record.isEmpty()) record = mirrored(record);
    EXPECT_EQ(back.out.split('\n'), expected);
    const Outcome backText = tolanList({"--compare", now, before});
    EXPECT_TRUE(backText.out.endsWith(
        "Added 6  Removed 4  Changed 3  Unchanged 2  Bytes 12000000530 -> 2910\r\n"));
}

// Names of every kind, in the order the listing sorts them, and a time
// past the year 9999, which a snapshot holds as null: a copy of the tree
// elsewhere is complete, and its listing needs no sorting.
TEST(Compare, ACopyElsewhereOfATreeWithNamesOfEveryKindIsComplete) {
    TempTree t(TempTree::InMemory{});
    const QByteArray names[] = {"ctl\x01.txt",
                                "bad\xff\xfe.txt",
                                "emoji\xf0\x9f\x98\x80.txt",
                                "\xed\x95\x9c\xea\xb8\x80.txt",
                                "back\\slash.txt",
                                "B.txt",
                                "a.txt",
                                "_under.txt",
                                "Z",
                                "z",
                                "\xe6\x97\xa5\xe6\x9c\xac"};
    for (const char* copy : {"src", "elsewhere/copy"})
        for (const QByteArray& folder : {QByteArray(), QByteArray("Sub\xff/"), QByteArray("a/")})
            for (const QByteArray& name : names)
                t.file(QByteArray(copy) + '/' + folder + name, name.size(), kT0);
    for (const char* copy : {"src", "elsewhere/copy"})
        t.file(QByteArray(copy) + "/far.txt", 0, 300'000'000'000);
    const QString snapshot = str(t.path("src.jsonl"));
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", snapshot, str(t.path("src"))}).status, 0);
    const Outcome run = tolanList({"--compare", snapshot, str(t.path("elsewhere/copy"))});
    EXPECT_EQ(run.status, 0) << run.out.constData();
    EXPECT_EQ(run.err, "");  // in listing order: no note
    EXPECT_EQ(run.out, "Added 0  Removed 0  Changed 0  Unchanged 34  Bytes 246 -> 246\r\n");
    t.remove("elsewhere/copy/a/a.txt");
    const Outcome missing =
        tolanList({"--compare", snapshot, "--encoding=utf-8", str(t.path("elsewhere/copy"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.startsWith(".\\a\r\n-         5 2024/01/05 5:07:09   ->"));
    // An unrelated folder: every file removed, and its own added.
    t.file("other/x/y.txt", 7, kT0);
    const Outcome unrelated =
        tolanList({"--compare", snapshot, "--format=jsonl", str(t.path("other"))});
    EXPECT_EQ(unrelated.status, 1);
    EXPECT_EQ(unrelated.out.count("\"change\":\"removed\""), 34);
    EXPECT_EQ(unrelated.out.count("\"change\":\"added\",\"path\":\"x/y.txt\""), 1);
}

// Times are instants: a snapshot made where clocks read nine hours ahead
// compares as unchanged; one whose lines are out of order is sorted and
// compared the same, with a note.
TEST(Compare, ASnapshotFromAnotherZoneOrOutOfOrderComparesTheSame) {
    TempTree t;
    makeBefore(t, "tree");
    const QString tree = str(t.path("tree")), snapshot = str(t.path("s.jsonl"));
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", snapshot, tree}, "JST-9").status, 0);
    QFile f(snapshot);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    f.close();
    ASSERT_TRUE(lines[2].contains("T14:07:09+09:00"));
    const Outcome same = tolanList({"--compare", snapshot, tree});
    EXPECT_EQ(same.status, 0) << same.out.constData();

    lines.removeLast();
    std::reverse(lines.begin() + 1, lines.end());  // the first line stays first
    writeFile(t.path("r.jsonl"), lines.join('\n') + '\n');
    t.file("tree/empty/x.txt", 999, kT0);
    // Written to a file, the comparison found out of order part-way is begun
    // again with the snapshot sorted; on standard output it is sorted first.
    const QByteArray changed =
        R"({"change":"changed","path":"empty/x.txt","old_size":1000,"new_size":999,)"
        R"("old_mtime":"2024-01-05T05:07:09+00:00","new_mtime":"2024-01-05T05:07:09+00:00"})"
        "\n";
    for (const bool toFile : {false, true}) {
        QStringList args{"--compare", str(t.path("r.jsonl")), "--format=jsonl", tree};
        if (toFile) args << "-o" << str(t.path("c.jsonl"));
        const Outcome sorted = tolanList(args);
        EXPECT_EQ(sorted.status, 1);
        if (toFile) {
            QFile c(str(t.path("c.jsonl")));
            ASSERT_TRUE(c.open(QIODevice::ReadOnly));
            EXPECT_EQ(c.readAll(), changed);
        } else {
            EXPECT_EQ(sorted.out, changed);
        }
        EXPECT_EQ(sorted.err.count("is not in listing order (line 3)"), 1)
            << sorted.err.constData();
    }
}

// A snapshot is read once, from the descriptor opened: from a pipe, on
// either side, and from a FIFO an unchanged tree compares as unchanged. A
// pipe out of listing order cannot be read again to be sorted.
TEST(Compare, ASnapshotFromAPipeOrAFifoIsReadOnce) {
    TempTree t;
    makeBefore(t, "tree");
    const QString tree = str(t.path("tree")), snapshot = str(t.path("s.jsonl"));
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", snapshot, tree}).status, 0);
    const QByteArray unchanged =
        "Added 0  Removed 0  Changed 0  Unchanged 11  Bytes 2910 -> 2910\r\n";
    for (const char* script :
         {R"("$0" --compare <(cat "$1") "$2")", R"("$0" --compare "$1" <(cat "$1"))"}) {
        const Outcome piped = bash(script, {snapshot, tree});
        EXPECT_EQ(piped.status, 0) << script << piped.err.constData();
        EXPECT_EQ(piped.out, unchanged) << script;
    }
    const QByteArray fifo = t.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    std::thread writer([&] { feedFifo(fifo, readFile(t.path("s.jsonl"))); });
    const Outcome fromFifo = tolanList({"--compare", str(fifo), tree});
    writer.join();
    EXPECT_EQ(fromFifo.status, 0) << fromFifo.err.constData();
    EXPECT_EQ(fromFifo.out, unchanged);

    const Outcome unsorted = bash(R"("$0" --compare <(tac "$1") "$2")", {snapshot, tree});
    EXPECT_EQ(unsorted.status, 2);
    EXPECT_TRUE(
        unsorted.err.contains("line 2 is out of listing order, and a pipe cannot be read "
                              "again to sort it"))
        << unsorted.err.constData();
    EXPECT_EQ(unsorted.out, "");
}

// What was opened is what is compared: a snapshot replaced while the other
// side, a FIFO, is still being written is compared as it was.
TEST(Compare, ASnapshotReplacedWhileComparedIsComparedAsOpened) {
    TempTree t;
    const QByteArray old = manyFiles(30000, 1);  // more than one read takes
    writeFile(t.path("old.jsonl"), old);
    writeFile(t.path("other.jsonl"), manyFiles(30000, 2) + manyFiles(1, 3));
    const QByteArray fifo = t.path("new");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // Once tolan-list has opened both, the old snapshot is replaced.
    std::thread writer([&] {
        feedFifo(fifo, old, [&t] {
            ::rename(t.path("other.jsonl").constData(), t.path("old.jsonl").constData());
        });
    });
    const Outcome run = tolanList({"--compare", str(t.path("old.jsonl")), str(fifo)});
    writer.join();
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "Added 0  Removed 0  Changed 0  Unchanged 30000  Bytes 30000 -> 30000\r\n");
}

// /dev/zero, and a line of 2 GB that a pipe makes, are refused with their
// line as soon as it passes 1 MiB: no run here grows past 512 MiB.
TEST(Compare, ALineOverOneMebibyteIsRefusedWithItsNumber) {
    TempTree t;
    t.file("tree/d/f100000.txt", 1, kT0);
    writeFile(t.path("two.jsonl"), manyFiles(2, 1));
    const QString tree = str(t.path("tree")), two = str(t.path("two.jsonl"));
    const struct {
        const char* script;
        const char* says;
    } cases[] = {
        {R"("$0" --compare /dev/zero "$2")", "line 1: over 1 MiB long"},
        {R"("$0" --compare <(cat "$1"; head -c 2000000000 /dev/zero | tr '\0' x) "$2")",
         "line 3: over 1 MiB long"},
    };
    for (const auto& c : cases) {
        const Outcome run = bash(c.script, {two, tree});
        EXPECT_EQ(run.status, 2) << c.script;
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
        EXPECT_EQ(run.out, "");
    }
    struct rusage usage {};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 512 * 1024);  // KiB, the largest child's
}

// On standard output, what cannot be taken back is held until the snapshot
// is read whole, past a mebibyte in a temporary file that goes with the run.
TEST(Compare, AChangeListOverAMebibyteIsHeldUntilTheSnapshotIsWhole) {
    TempTree t;
    t.folder("empty");
    const QByteArray files = manyFiles(20000, 1);  // 20,000 lines removed
    for (const bool whole : {false, true}) {
        writeFile(t.path("s.jsonl"), whole ? files : files + "{\"path\":\"z\"}\n");
        const Outcome run = runProgram(
            QStringLiteral(TOLAN_LIST),
            {"--compare", str(t.path("s.jsonl")), "--format=jsonl", str(t.path("empty"))}, "UTC",
            t.path("state"));
        EXPECT_EQ(run.status, whole ? 1 : 2) << run.err.constData();
        EXPECT_EQ(run.out.count("\"change\":\"removed\""), whole ? 20000 : 0);
        if (whole) {
            EXPECT_GT(run.out.size(), 1 << 20);  // past what is held in memory
        }
        EXPECT_EQ(QDir(str(t.path("state/tolan"))).entryList(QDir::Files), QStringList());
    }
}

TEST(Compare, ASnapshotThatCannotBeComparedIsTroubleNamingItsLineAndWritesNothing) {
    TempTree t;
    t.file("tree/a.txt", 1, kT0);
    const QByteArray good = R"({"path":"a.txt","size":1,"mtime":"2024-01-05T05:07:09Z"})";
    const struct {
        QByteArray content;  // "-" for no file at all
        const char* says;
    } cases[] = {
        {"-", "no such file"},
        {"", "the snapshot lists no files"},
        {good + "\n{\"path\":\"b.txt\",\"si", "line 2: the last line is cut short"},
        {"not json\n", "line 1: not a JSON object"},
        {good + "\n{\"size\":1,\"mtime\":null}\n", "line 2: \"path\" is missing"},
        {R"({"path":"a","size":"1","mtime":null})", "line 1: \"size\" is not a whole number"},
        {R"({"path":"a","size":1})", "line 1: \"mtime\" is missing"},
        {R"({"path":"a","size":1,"mtime":1704431229})", "line 1: \"mtime\" is not a time"},
        {R"({"path":"/etc/a","size":1,"mtime":null})", "line 1: \"path\" is not a path below"},
        {R"({"path":"a\udc41","size":1,"mtime":null})", "line 1: \"path\" has an escape"},
        {R"({"folder":"C:\\w","name":"a","size":1,"mtime":null})",
         "line 1: the snapshot was written before snapshots held paths; make a new one with "
         "tolan-list --format jsonl -o FILE FOLDER"},
        {good + "\n" + good + "\n", "line 2: the path a.txt is given a second time"},
        {good + "\n{\"path\":\"a\",\"size\":1,\"mtime\":null} x\n", "line 2: not"},
        {R"({"path":"a/./b","size":1,"mtime":null})", "line 1: \"path\" is not a path below"},
        {R"({"path":"../a","size":1,"mtime":null})", "line 1: \"path\" is not a path below"},
        {R"({"path":"a//b","size":1,"mtime":null})", "line 1: \"path\" is not a path below"},
        {good + "\n" + R"({"path":"b","size":1,"mtime":"2026-02-31T00:00:00Z"})",
         "line 2: \"mtime\" is not a time"},
        {R"({"path":"a","size":1,"mtime":"2023-02-29T00:00:00Z"})", "line 1: \"mtime\" is not"},
        {R"({"path":"a","size":1,"size":2,"mtime":null})",
         "line 1: the key \"size\" is given twice"},
        {R"({"path":"a","size":1,"mtime":null,"n":1,"n":1})", "line 1: the key \"n\" is given"},
        {good + "\n" + QByteArray(3 << 20, 'x') + "\n", "line 2: over 1 MiB long"},
    };
    // A file is checked as it is compared, standard output before: either
    // way nothing is written.
    const QString out = str(t.path("out.txt"));
    for (const auto& c : cases) {
        if (c.content != "-") writeFile(t.path("s.jsonl"), c.content);
        for (const bool toFile : {true, false}) {
            QStringList args{"--compare", str(t.path("s.jsonl")), str(t.path("tree"))};
            if (toFile) args << "-o" << out;
            const Outcome run = tolanList(args);
            EXPECT_EQ(run.status, 2) << c.says;
            EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
            EXPECT_FALSE(QFile::exists(out)) << c.says;
            EXPECT_EQ(run.out, "") << c.says;
        }
        QFile::remove(str(t.path("s.jsonl")));
    }
    const Outcome folder = tolanList({"--compare", str(t.path("tree")), str(t.path("tree"))});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(folder.err.contains("it is a folder, not a snapshot"));
    writeFile(t.path("s.jsonl"), good + "\n");
    const Outcome gone = tolanList({"--compare", str(t.path("s.jsonl")), str(t.path("vanished"))});
    EXPECT_EQ(gone.status, 2);
    EXPECT_TRUE(gone.err.contains("no such folder")) << gone.err.constData();
}

// Compared by a user who cannot read some folders now (the first, one in
// the middle, the last): their files in the snapshot are marked unreadable
// ("?"), not removed, in text and JSON lines, and the comparison is trouble.
TEST(Compare, FilesBelowAFolderThatCannotBeReadNowAreUnreadableNotRemoved) {
    TempTree t;
    for (const char* file : {"a/1.txt", "m/keep.txt", "m/x/2.txt", "m/x/deeper/3.txt", "z/4.txt"})
        t.file(QByteArray("tree/") + file, 10, kT0);
    const Outcome made =
        tolanList({"--format", "jsonl", "-o", str(t.path("s.jsonl")), str(t.path("tree"))});
    ASSERT_EQ(made.status, 0) << made.err.constData();
    for (const char* folder : {"", "/..", "/tree", "/tree/m"})
        ::chmod((t.root() + folder).constData(), 0755);
    ::chmod(t.path("s.jsonl").constData(), 0644);
    for (const char* folder : {"tree/a", "tree/m/x", "tree/z"})
        ::chmod(t.path(folder).constData(), 0700);
    const QString copy = str(t.path("../tolan-list-nobody"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLAN_LIST), copy));
    ::chmod(QFile::encodeName(copy).constData(), 0755);
    const auto asNobody = [&](const QStringList& args) {
        QProcess p;
        p.setChildProcessModifier([] {
            ::setgroups(0, nullptr);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        p.setProcessEnvironment(env);
        p.start(copy, args);
        p.waitForFinished(60000);
        return Outcome{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                       p.readAllStandardOutput(), p.readAllStandardError()};
    };
    const QStringList compare{"--compare", str(t.path("s.jsonl")), str(t.path("tree")),
                              "--encoding", "utf-8"};
    const Outcome text = asNobody(compare);
    EXPECT_EQ(text.status, 2) << text.err.constData();
    EXPECT_FALSE(text.out.contains("\n-")) << text.out.constData();
    for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"})
        EXPECT_TRUE(text.out.contains(QByteArray("?        10 2024/01/05 5:07:09   ->") +
                                      QByteArray(33, ' ') + name))
            << name << text.out.constData();
    EXPECT_TRUE(text.out.contains("Unreadable 4")) << text.out.constData();
    EXPECT_FALSE(text.out.contains("keep.txt")) << text.out.constData();
    for (const char* folder :
         {"\\a: permission denied", "\\m\\x: permission denied", "\\z: permission denied"})
        EXPECT_TRUE(text.err.contains(folder)) << folder << text.err.constData();
    const Outcome records = asNobody(compare + QStringList{"--format", "jsonl"});
    EXPECT_EQ(records.status, 2);
    EXPECT_EQ(records.out.count("{\"change\":\"unreadable\""), 4) << records.out.constData();
    EXPECT_EQ(records.out.count('\n'), 4) << records.out.constData();
}

// A snapshot's first line records the patterns it was made with, bytes
// that are not UTF-8 included; sides made with other patterns (in any
// order, repeated or not) are compared as ever, with a warning first.
TEST(Compare, SidesMadeWithOtherExclusionPatternsAreComparedWithAWarning) {
    TempTree t;
    makeBefore(t, "tree");
    t.file("tree/.git/config", 5, kT0);
    t.file("tree/x.o", 7, kT0);
    t.file("tree/x\xff", 3, kT0);
    writeFile(t.path("all.txt"), ".git/\n*.o\nx\xff\n");
    writeFile(t.path("reordered.txt"), "x\xff\n*.o\n.git/\n*.o\n");
    const QString tree = str(t.path("tree")), all = str(t.path("all.txt"));
    const QString plain = str(t.path("plain.jsonl")), some = str(t.path("some.jsonl"));
    ASSERT_EQ(tolanList({"--format=jsonl", "-o", plain, tree}).status, 0);
    ASSERT_EQ(tolanList({"--format=jsonl", "--exclude-from", all, "-o", some, tree}).status, 0);
    const QByteArray someFirst = readFile(t.path("some.jsonl")).split('\n')[0];
    EXPECT_TRUE(someFirst.contains(R"("exclude":[".git/","*.o","x\udcff"])")) << someFirst.data();
    // A first line without "exclude" was made with none.
    QByteArray unnamed = readFile(t.path("plain.jsonl"));
    ASSERT_TRUE(unnamed.contains(",\"exclude\":[]"));
    writeFile(t.path("unnamed.jsonl"), unnamed.replace(",\"exclude\":[]", ""));
    const QString someName = "snapshot '" + some + "' with \".git/\", \"*.o\", \"x\xff\"";
    const struct {
        QStringList args;
        int status;
        const char* summary;
        QString warning;  // empty: none
    } rows[] = {
        {{some, "--exclude-from", str(t.path("reordered.txt")), tree},
         0,
         "Added 0  Removed 0  Changed 0  Unchanged 11  Bytes 2910 -> 2910\r\n",
         {}},
        {{some, tree},
         1,
         "Added 3  Removed 0  Changed 0  Unchanged 11  Bytes 2910 -> 2925\r\n",
         someName + ", the folder scanned now with none;"},
        {{plain, some},
         1,
         "Added 0  Removed 3  Changed 0  Unchanged 11  Bytes 2925 -> 2910\r\n",
         "snapshot '" + plain + "' with none, " + someName + ";"},
        {{str(t.path("unnamed.jsonl")), tree},
         0,
         "Added 0  Removed 0  Changed 0  Unchanged 14  Bytes 2925 -> 2925\r\n",
         {}},
        {{str(t.path("unnamed.jsonl")), "--exclude", "*.o", tree},
         1,
         "Added 0  Removed 1  Changed 0  Unchanged 13  Bytes 2925 -> 2918\r\n",
         "with none, the folder scanned now with \"*.o\";"},
    };
    for (const auto& row : rows) {
        const Outcome run = tolanList(QStringList{"--compare"} + row.args);
        const QString err = str(run.err);
        EXPECT_EQ(run.status, row.status) << err.toStdString();
        EXPECT_TRUE(run.out.endsWith(row.summary)) << run.out.constData();
        EXPECT_FALSE(run.out.contains("warning"));
        EXPECT_EQ(err.contains(QStringLiteral("tolan-list: warning: the two sides were made with "
                                              "different exclusion patterns: ")),
                  !row.warning.isEmpty())
            << err.toStdString();
        EXPECT_TRUE(err.contains(row.warning)) << err.toStdString();
    }
}
