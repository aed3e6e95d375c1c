// tolan-list --find run as scripts run it: patterns of every kind over a
// snapshot with a header and folder lines and an older one without, odd
// names shown safely, and snapshots that cannot be searched.

#include "tests/support/temp_tree.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

// tolan-list run in `folder` (UTC), so that snapshots are named as given.
Outcome tolanList(const QByteArray& folder, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QString::fromLocal8Bit(folder));
    p.start(QStringLiteral(TOLAN_LIST), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

void writeFile(const QByteArray& path, const QByteArray& data) {
    QFile f(QString::fromLocal8Bit(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A file line of a snapshot with a header, as the scan writes it.
QByteArray fileLine(const QByteArray& folder, const QByteArray& hostFolder, const QByteArray& name,
                    const QByteArray& path, qint64 size) {
    return "{\"folder\":\"" + folder + "\",\"host_folder\":\"" + hostFolder + "\",\"name\":\"" +
           name + "\",\"host_name\":\"" + name + "\",\"path\":\"" + path +
           "\",\"size\":" + QByteArray::number(size) +
           ",\"mtime\":\"2024-01-05T05:07:09+00:00\",\"size_text\":\"\",\"date_text\":\"\","
           "\"blocks\":8,\"read_only\":false}\n";
}

const QByteArray kHeader =
    "{\"type\":\"snapshot\",\"program\":\"tolan\",\"format\":2,\"version\":\"9\","
    "\"folder\":\"Z:\\\\data\",\"host_folder\":\"/data\",\"drives\":[],"
    "\"time\":\"2026-12-10T01:02:03+00:00\"}\n";

// A snapshot with a header and folder lines: names with a byte that is not
// UTF-8 and with a control character, an empty folder and an unreadable one.
QByteArray newSnapshot() {
    const QByteArray a = "Z:\\\\data\\\\a";
    return kHeader +
           "{\"type\":\"folder\",\"folder\":\"Z:\\\\data\",\"host_folder\":\"/data\",\"path\":\"\","
           "\"error\":null}\n" +
           fileLine("Z:\\\\data", "/data", "report.odt", "report.odt", 1200) +
           "{\"type\":\"folder\",\"folder\":\"" + a +
           "\",\"host_folder\":\"/data/a\",\"path\":\"a\",\"error\":null}\n" +
           fileLine(a, "/data/a", "x.odt", "a/x.odt", 5) +
           fileLine(a, "/data/a", "bad\\udcffname.odt", "a/bad\\udcffname.odt", 7) +
           fileLine(a, "/data/a", "bell\\u0007.txt", "a/bell\\u0007.txt", 0) +
           "{\"type\":\"folder\",\"folder\":\"Z:\\\\data\\\\locked\",\"host_folder\":"
           "\"/data/locked\",\"path\":\"locked\",\"error\":13}\n";
}

// The snapshots of one test, in `tree`'s folder "s": new.jsonl as above,
// and old.jsonl, a tree scanned now as a snapshot written before snapshots
// had a first line and folder lines: its files' lines alone.
struct Snapshots {
    TempTree tree;
    QByteArray folder = tree.path("s");
    Snapshots() {
        tree.file("disk/top.odt", 10);
        tree.file("disk/docs/a.odt", 20);
        tree.file("disk/docs/b.txt", 30);
        tree.file("disk/docs/\xE5\x86\x99.odt", 40);  // 写.odt
        tree.folder("s");
        writeFile(folder + "/new.jsonl", newSnapshot());
        const Outcome scan =
            tolanList(folder, {QStringLiteral("--drive=C:=") + QString::fromLocal8Bit(tree.root()),
                               QStringLiteral("--format=jsonl"), QStringLiteral("C:\\disk")});
        EXPECT_EQ(scan.status, 0) << scan.err.constData();
        QByteArray files;
        for (const QByteArray& line : scan.out.split('\n'))
            if (!line.isEmpty() && !line.startsWith("{\"type\":")) files += line + '\n';
        EXPECT_EQ(files.count('\n'), 4);
        writeFile(folder + "/old.jsonl", files);
    }
};

}  // namespace

TEST(Find, PatternsFindWhatTheyMatchWithTheExitStatusOfGrep) {
    Snapshots s;
    const QByteArray r = "     1200 2024/01/05 5:07:09   new.jsonl: Z:\\data\\report.odt";
    const QByteArray x = "        5 2024/01/05 5:07:09   new.jsonl: Z:\\data\\a\\x.odt";
    const QByteArray bad = "        7 2024/01/05 5:07:09   new.jsonl: Z:\\data\\a\\bad?name.odt";
    const QByteArray bell = "        0 2024/01/05 5:07:09   new.jsonl: Z:\\data\\a\\bell?.txt";
    const QByteArray top = "       10 2024/01/05 5:07:09   old.jsonl: C:\\disk\\top.odt";
    const QByteArray a = "       20 2024/01/05 5:07:09   old.jsonl: C:\\disk\\docs\\a.odt";
    const QByteArray e = "       40 2024/01/05 5:07:09   old.jsonl: C:\\disk\\docs\\\x8e\xca.odt";
    const QByteArray b = "       30 2024/01/05 5:07:09   old.jsonl: C:\\disk\\docs\\b.txt";
    const struct {
        QString pattern;
        int status;
        QByteArrayList lines;  // in code page 932, each ended by CR LF
        const char* error;     // what standard error holds
    } rows[] = {
        {QStringLiteral("*.odt"), 0, {r, x, bad, top, a, e}, ""},
        {QStringLiteral("*"), 0, {r, x, bad, bell, top, a, b, e}, ""},
        // With a "/", the path below the folder; "*" stays in one folder.
        {QStringLiteral("a/*.odt"), 0, {x, bad}, ""},
        {QStringLiteral("*/*.odt"), 0, {x, bad, a, e}, ""},
        {QStringLiteral("docs/?.*"), 0, {a, b, e}, ""},
        {QStringLiteral("[rt]*.odt"), 0, {r, top}, ""},
        {QStringLiteral("[[:alpha:]].odt"), 0, {x, a, e}, ""},  // 写 is a letter
        {QStringLiteral("bell?.txt"), 0, {bell}, ""},
        // "?" is one character: a byte that is not UTF-8, or a character of UTF-8.
        {QStringLiteral("bad?name.odt"), 0, {bad}, ""},
        {QStringLiteral("?.odt"), 0, {x, a, e}, ""},
        {QStringLiteral("*.ODT"), 1, {}, ""},
        {QStringLiteral("report"), 1, {}, ""},
        {QStringLiteral("\\[x"), 1, {}, ""},
        {QStringLiteral(""), 2, {}, "--find: the pattern is empty"},
        {QStringLiteral("a[bc"), 2, {}, "the \"[\" at character 2 of the pattern is never closed"},
        {QStringLiteral("[[:alpha:]"), 2, {}, "never closed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern.toStdString());
        const Outcome o =
            tolanList(s.folder, {QStringLiteral("--find"), row.pattern, QStringLiteral("new.jsonl"),
                                 QStringLiteral("old.jsonl")});
        EXPECT_EQ(o.status, row.status) << o.err.constData();
        EXPECT_EQ(o.out, row.lines.isEmpty() ? QByteArray() : row.lines.join("\r\n") + "\r\n");
        EXPECT_TRUE(o.err.contains(row.error)) << o.err.constData();
    }
}

// JSON lines give the host bytes back; UTF-8 text shows the escape range;
// -o puts the file in place.
TEST(Find, JsonLinesAndUtf8TextCarryTheNamesAsTheyAre) {
    Snapshots s;
    const Outcome json =
        tolanList(s.folder, {QStringLiteral("--find=bad*"), QStringLiteral("--format=jsonl"),
                             QStringLiteral("-o"), QStringLiteral("found.jsonl"),
                             QStringLiteral("new.jsonl")});
    EXPECT_EQ(json.status, 0) << json.err.constData();
    QFile found(QString::fromLocal8Bit(s.folder + "/found.jsonl"));
    ASSERT_TRUE(found.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        found.readAll(),
        "{\"snapshot\":\"new.jsonl\",\"folder\":\"Z:\\\\data\",\"host_folder\":\"/data\","
        "\"path\":\"a/bad\\udcffname.odt\",\"size\":7,\"mtime\":\"2024-01-05T05:07:09+00:00\"}\n");
    const Outcome text =
        tolanList(s.folder, {QStringLiteral("--find=b*"), QStringLiteral("--encoding=utf-8"),
                             QStringLiteral("new.jsonl")});
    EXPECT_EQ(text.out,
              "        7 2024/01/05 5:07:09   new.jsonl: Z:\\data\\a\\bad\xEF\x9F\xBFname.odt\r\n"
              "        0 2024/01/05 5:07:09   new.jsonl: Z:\\data\\a\\bell\xEF\x9C\x87.txt\r\n");
}

// A snapshot that cannot be searched is trouble (2), named with its line
// and why; the others are searched all the same.
TEST(Find, ASnapshotThatCannotBeReadIsTroubleNamingItsLine) {
    Snapshots s;
    const QByteArray file = fileLine("Z:\\\\data", "/data", "c.odt", "c.odt", 1);
    const struct {
        const char* name;
        QByteArray contents;
        const char* error;
    } rows[] = {
        {"damaged.jsonl", kHeader + file + "{\"folder\":\"Z:\\\\data\",\"path\":\"d.odt\",",
         "line 3: the last line is cut short"},
        {"garbage.jsonl", file + "not json\n" + file, "line 2: not a JSON object"},
        {"nosize.jsonl", kHeader + "{\"path\":\"e.odt\",\"mtime\":null}\n",
         "line 2: \"size\" is missing"},
        {"other.jsonl", QByteArray(kHeader).replace("\"tolan\"", "\"other\""),
         "line 1: the snapshot was written by another program (other), not by Tolan"},
        {"newer.jsonl", QByteArray(kHeader).replace(":2,", ":3,"),
         "line 1: the snapshot was written by a newer Tolan (9, format 3)"},
        {"twice.jsonl", kHeader + kHeader, "line 2: a snapshot's first line, not one of its files"},
        {"missing.jsonl", {}, "snapshot 'missing.jsonl': no such file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.contents.isEmpty()) writeFile(s.folder + '/' + row.name, row.contents);
        const Outcome o =
            tolanList(s.folder, {QStringLiteral("--find=*.odt"), QString::fromLatin1(row.name),
                                 QStringLiteral("old.jsonl")});
        EXPECT_EQ(o.status, 2);
        EXPECT_TRUE(o.err.contains(row.error)) << o.err.constData();
        EXPECT_TRUE(o.out.contains("old.jsonl: C:\\disk\\docs\\a.odt\r\n")) << o.out.constData();
    }
}
