// tolan-list --from: a listing made from a snapshot is the one the scan
// made when the snapshot was taken, byte for byte; a snapshot found wrong
// writes nothing.

#include "tests/support/pdf_text.h"
#include "tests/support/temp_tree.h"
#include "tests/support/tolan_list_run.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <utime.h>

namespace {

// A random tree of odd names: Japanese, quotes and commas, bytes that are
// not UTF-8, control characters; an empty folder, one that cannot be read
// and folders below the eighth level.
void randomTree(TempTree& tree, unsigned seed) {
    std::mt19937 random(seed);
    const std::vector<QByteArray> parts = {"a",   "資料", "ﾃｽﾄ",   "x,y",         "q\"t",
                                           " s ", "Zz",   "tab\t", "bad\xff\xfe", "back\\"};
    const auto part = [&] { return parts[random() % parts.size()]; };
    for (int i = 0; i < 80; ++i) {
        QByteArray folder = "work";
        for (unsigned depth = random() % 4; depth > 0; --depth) folder += '/' + part() + "d";
        tree.file(folder + '/' + part() + QByteArray::number(i) + (i % 3 ? ".txt" : ".dat"),
                  qint64(random() % 3'000'000), 1'600'000'000 + qint64(random() % 100'000'000));
    }
    tree.file("work/1/2/3/4/5/6/7/8/9/10/deep.txt", 123);
    tree.folder("work/empty");
    tree.file("work/closed/hidden.txt", 5);
    chmod(tree.root().constData(), 0755);
    chmod(tree.path("..").constData(), 0755);
    chown(tree.path("work/closed").constData(), 0, 0);
    chmod(tree.path("work/closed").constData(), 0700);
}

// tolan-list and the program it hands drawing to, copied where nobody may
// run them: the build folder may be closed to others.
struct Copy {
    std::string program;
    explicit Copy(TempTree& tree) : program(tree.path("../tolan-list").toStdString()) {
        const QString built = QStringLiteral(TOLAN_LIST);
        for (const QString& name :
             {QStringLiteral("tolan-list"), QStringLiteral("tolan-list-draw")}) {
            const QString to = QString::fromUtf8(tree.path("../")) + name;
            QFile::copy(built.left(built.lastIndexOf(u'/') + 1) + name, to);
            chmod(to.toUtf8().constData(), 0755);
        }
    }
};

void writeFile(const QByteArray& path, const QByteArray& bytes) {
    QFile f(QString::fromUtf8(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

// Each output of a scan (the work file in every mode and type, filtered or
// not, each listing file's records, the PDF's text, what is said on
// standard error) made again from the snapshot taken with it.
TEST(FromSnapshot, ListsWhatTheScanListedByteForByte) {
    for (const unsigned seed : {7u, 2026u}) {
        SCOPED_TRACE(seed);
        TempTree tree;
        randomTree(tree, seed);
        const Copy copy(tree);
        // The scans run as nobody, so that the closed folder is closed.
        const auto scan = [&](std::vector<std::string> args) {
            args.insert(args.begin(), drive(tree));
            args.push_back("C:\\work");
            return run(args, true, "1796738584", copy.program);
        };
        const Result snapshot = scan({"--format", "jsonl"});
        ASSERT_EQ(snapshot.status, 0) << snapshot.err.constData();
        const std::string snap = tree.path("snap.jsonl").toStdString();
        writeFile(tree.path("snap.jsonl"), snapshot.out);
        const auto from = [&](std::vector<std::string> args) {
            args.insert(args.begin(), {drive(tree), "--from", snap});
            return run(args);
        };
        std::vector<std::vector<std::string>> outputs;
        for (const char* mode : {"totals", "plain", "folders"})
            for (const char* type : {"1", "2"}) {
                outputs.push_back({"--mode", mode, "--type", type});
                outputs.push_back({"--mode", mode, "--type", type, "--ext", "txt"});
            }
        for (const char* kind :
             {"path-size-date", "folder-name-size-date", "path-size", "path-date", "path"})
            outputs.push_back({"--listing", kind, "--csv"});
        outputs.push_back({"--listing", "path", "--encoding", "utf-8", "--width", "20000"});
        for (const auto& args : outputs) {
            const Result scanned = scan(args), made = from(args);
            ASSERT_EQ(scanned.status, 0) << scanned.err.constData();
            EXPECT_EQ(made.status, 0) << made.err.constData();
            EXPECT_EQ(made.out, scanned.out) << args[1];
            EXPECT_EQ(made.err, scanned.err);
            EXPECT_TRUE(scanned.err.contains("closed: permission denied"))
                << scanned.err.constData();
        }
        // The PDF is written by root beside the snapshot: its text is the
        // scan's, heading time and all.
        const std::string pdfA = tree.path("a.pdf").toStdString(),
                          pdfB = tree.path("b.pdf").toStdString();
        const Result scannedPdf = scan({"--format", "pdf"});
        writeFile(tree.path("a.pdf"), scannedPdf.out);
        ASSERT_EQ(from({"--format", "pdf", "-o", pdfB}).status, 0);
        EXPECT_EQ(pdfText(QString::fromStdString(pdfB)), pdfText(QString::fromStdString(pdfA)));
    }
}

// A snapshot written before snapshots had their first line is listed from
// its files (its time the file's), saying what cannot be known.
TEST(FromSnapshot, ListsAnOlderSnapshotAndSaysWhatItCannotKnow) {
    TempTree tree;
    tree.file("work/a.txt", 10, 1'600'000'000);
    tree.file("work/sub/b.txt", 20, 1'600'000'000);
    const Result now = run({drive(tree), "C:\\work"});
    const Result snapshot = run({drive(tree), "--format", "jsonl", "C:\\work"});
    QByteArray older;
    for (const QByteArray& line : snapshot.out.split('\n'))
        if (!line.isEmpty() && !line.startsWith("{\"type\":")) older += line + '\n';
    writeFile(tree.path("old.jsonl"), older);
    const utimbuf times{1796738584, 1796738584};
    utime(tree.path("old.jsonl").constData(), &times);
    const Result made =
        run({drive(tree), "--from", tree.path("old.jsonl").toStdString()}, false, nullptr);
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.out, now.out);
    EXPECT_TRUE(made.err.contains("older Tolan")) << made.err.constData();
}

// What is wrong is named with its line; a listing to a file leaves the
// file there as it was.
TEST(FromSnapshot, RefusesASnapshotFoundWrongAndWritesNothing) {
    TempTree tree;
    tree.file("work/a.txt", 10);
    tree.file("work/sub/b.txt", 20);
    const QList<QByteArray> lines =
        run({drive(tree), "--format", "jsonl", "C:\\work"}).out.split('\n');
    ASSERT_EQ(lines.size(), 6);  // first line, two folders, two files, the rest after the last
    const auto joined = [](QList<QByteArray> l) { return l.join('\n'); };
    const auto replaced = [&](int at, const QByteArray& from, const QByteArray& to) {
        QList<QByteArray> l = lines;
        l[at].replace(from, to);
        return joined(l);
    };
    const struct {
        const char* what;
        QByteArray bytes;
        const char* said;
    } rows[] = {
        {"newer", replaced(0, "\"format\":2", "\"format\":3"),
         "line 1: the snapshot was written by a newer Tolan"},
        {"another program", replaced(0, "\"tolan\"", "\"gdu\""),
         "line 1: the snapshot was written by another program (gdu)"},
        {"first line disagrees", replaced(3, "/work/sub", "/elsewhere/sub"),
         "line 4: its \"host_folder\" is not below"},
        {"cut short", lines[0] + '\n' + lines[1] + '\n' + lines[2].left(40),
         "line 3: the last line is cut short"},
        {"out of order", joined({lines[0], lines[3], lines[4], lines[1], lines[2], ""}),
         "line 2: the folder sub comes before the line of the folder scanned"},
        {"a file before its folder", joined({lines[0], lines[1], lines[4], lines[3], ""}),
         "line 3: the file sub/b.txt is not in the folder"},
        {"empty", QByteArray(), "the snapshot lists no files"},
    };
    const QByteArray target = tree.path("listing.txt");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeFile(tree.path("bad.jsonl"), row.bytes);
        writeFile(target, "keep");
        const Result r = run({drive(tree), "--from", tree.path("bad.jsonl").toStdString(), "-o",
                              target.toStdString()});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(row.said)) << r.err.constData();
        QFile kept(QString::fromUtf8(target));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "keep");
    }
}
