// tolan-list run as a separate process, as scripts run it.

#include "platform/codepage/cp932.h"
#include "tests/support/pdf_text.h"
#include "tests/support/temp_tree.h"
#include "tests/support/tolan_list_run.h"
#include "tolan/version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {}  // namespace

TEST(TolanList, WritesTheWorkFileLinesInCodePage932OrUtf8) {
    TempTree tree;
    tree.file("日本/メモ.txt", 1000);
    const Result r = run({drive(tree), "--mode", "plain", "C:\\"});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QByteArray expected =
        codepage::toCp932(QStringLiteral("<< 12-08-2026   14:03:04 >>") + QString(36, u' ') +
                          QStringLiteral("----<< ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ ／ *.* >>----\r\n") +
                          QStringLiteral("  C:\\日本\\メモ.txt") + QString(69, u' ') +
                          QStringLiteral("-     1000\r\n"));
    EXPECT_EQ(r.out, expected);
    EXPECT_TRUE(r.err.isEmpty());

    const Result utf8 =
        run({drive(tree), "--mode=plain", "--encoding", "utf-8", tree.root().toStdString()});
    ASSERT_EQ(utf8.status, 0);
    EXPECT_EQ(QString::fromUtf8(utf8.out), codepage::fromCp932(expected));
}

TEST(TolanList, MapsHostFoldersAndListsTheDrives) {
    TempTree tree;
    tree.file("sub/a.txt", 2000);
    const std::string out = tree.path("../out.txt").toStdString();
    const Result r = run({drive(tree), "--drive", "Z:=/", "--type", "2", "--ext", "TXT", "-o", out,
                          tree.path("sub").toStdString()});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
    QFile f(QString::fromStdString(out));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(
        lines[0].contains(codepage::toCp932(QStringLiteral("----<< ﾌｧｲﾙ ／ *.TXT >>----"))));
    EXPECT_EQ(lines[1], QByteArray("c: [root]\r"));
    EXPECT_EQ(lines[2], QByteArray("z:\r"));
    EXPECT_EQ(lines[3], QByteArray("\r"));
    EXPECT_EQ(lines[4], QByteArray("C:\\sub\r"));
}

// The drives file is read whole, '#' only starts a comment at a line's
// start, and each line that maps no drive is named on standard error.
TEST(TolanList, NamesEachBadLineOfTheDrivesFile) {
    TempTree tree;
    tree.file("disk#1/a.txt", 10);
    const QByteArray drives = qgetenv("XDG_CONFIG_HOME") + "/tolan/drives";
    QDir().mkpath(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME") + "/tolan"));
    {
        QFile f(QString::fromLocal8Bit(drives));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 << 19, '#') + "\nrubbish\nD:=" + tree.path("disk#1") +
                "\nD:=/again\n");
    }
    const Result r = run({"D:\\"});
    QFile::remove(QString::fromLocal8Bit(drives));
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("a.txt")) << r.out.constData();
    EXPECT_EQ(r.err, "tolan-list: " + drives + ":2: not X:=/folder, skipped: rubbish\n" +
                         "tolan-list: " + drives +
                         ":4: a second line for its letter, skipped: D:=/again\n");
}

TEST(TolanList, FailsWithAClearMessageAndStatus) {
    TempTree tree;
    tree.file("file.txt", 1);
    tree.folder("readonly");
    tree.file("private/inside.txt", 1);
    chmod(tree.path("private").constData(), 0700);
    ASSERT_EQ(chown(tree.path("private").constData(), 0, 0), 0);
    chmod(tree.root().constData(), 0755);
    chmod(tree.path("..").constData(), 0755);
    chmod(tree.path("readonly").constData(), 0555);
    const std::string root = tree.root().toStdString();
    const std::string readonly = tree.path("readonly").toStdString();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> words;  // what the message must name: the input and its cause
        bool asNobody;
    };
    const Case cases[] = {
        // The folder to list.
        {{drive(tree), "C:\\missing"}, 1, {"C:\\missing", "no such folder"}, false},
        {{drive(tree), tree.path("missing").toStdString()},
         1,
         {"missing", "no such folder"},
         false},
        {{drive(tree), "C:\\file.txt"}, 1, {"C:\\file.txt", "is not a folder"}, false},
        {{drive(tree), tree.path("file.txt").toStdString()}, 1, {"is not a folder"}, false},
        {{drive(tree), ""}, 2, {"FOLDER is empty"}, false},
        {{drive(tree), tree.path("..").toStdString()},
         1,
         {"outside every drive", "C: " + root, "--drive"},
         false},
        {{drive(tree), "Q:\\"}, 1, {"Q:\\", "no drive Q:", "C: " + root, "--drive"}, false},
        {{drive(tree), "C:\\private"}, 1, {"C:\\private", "permission denied"}, true},
        // The drives.
        {{"--drive", "T:=" + tree.path("gone").toStdString(), "C:\\"},
         2,
         {"T:=", "gone", "no such folder"},
         false},
        {{drive(tree), "--drive", "c:=" + readonly, "C:\\"}, 2, {"C: twice"}, false},
        {{"--drive", "C/tmp"}, 2, {"C/tmp", "X:=/absolute/folder"}, false},
        // Numbers out of range.
        {{"--width", "99999999999"}, 2, {"--width", "0 to 10000000", "99999999999"}, false},
        {{"--width", "wide"}, 2, {"--width", "0 to 10000000"}, false},
        {{"--threads", "99999999999"}, 2, {"--threads", "1 to 256", "99999999999"}, false},
        // The output, as the work file and as rows.
        {{drive(tree), "-o", root, "C:\\"}, 1, {root, "is a folder"}, false},
        {{drive(tree), "--listing=path", "-o", root, "C:\\"}, 1, {root, "is a folder"}, false},
        {{drive(tree), "-o", tree.path("nowhere/out.txt").toStdString(), "C:\\"},
         1,
         {"nowhere/out.txt", "folder '" + tree.path("nowhere").toStdString() + "' does not exist"},
         false},
        {{drive(tree), "--listing=path", "-o", tree.path("nowhere/l.txt").toStdString(), "C:\\"},
         1,
         {"nowhere/l.txt", "does not exist"},
         false},
        {{drive(tree), "-o", tree.path("readonly/out.txt").toStdString(), "C:\\"},
         1,
         {"readonly/out.txt", "permission denied", "folder '" + readonly + "'"},
         true},
        {{drive(tree), "--format=jsonl", "-o", tree.path("readonly/l.txt").toStdString(), "C:\\"},
         1,
         {"readonly/l.txt", "permission denied"},
         true},
        {{drive(tree), "-o", "/dev/full", "C:\\"}, 1, {"/dev/full", "disk is full"}, false},
        // A comparison's output is told the same way; its trouble is status 2.
        {{"--compare", tree.path("file.txt").toStdString(), "-o", root, root},
         2,
         {root, "is a folder"},
         false},
        {{"--compare", tree.path("file.txt").toStdString(), "-o",
          tree.path("nowhere/c.txt").toStdString(), root},
         2,
         {"nowhere/c.txt", "folder '" + tree.path("nowhere").toStdString() + "' does not exist"},
         false},
        {{drive(tree), "--listing=path", "-o", "/dev/full", "C:\\"},
         1,
         {"/dev/full", "disk is full"},
         false},
        // A PDF: the output as above, and a listing without a line.
        {{drive(tree), "--format=pdf", "-o", tree.path("readonly/l.pdf").toStdString(), "C:\\"},
         1,
         {"readonly/l.pdf", "permission denied"},
         true},
        {{drive(tree), "--format=pdf", "-o", tree.path("nowhere/l.pdf").toStdString(), "C:\\"},
         1,
         {"nowhere/l.pdf", "does not exist"},
         false},
        {{drive(tree), "--format=pdf", "-o", "/dev/full", "C:\\"},
         1,
         {"/dev/full", "disk is full"},
         false},
        {{drive(tree), "--listing=path", "--format=pdf", "-o", tree.path("empty.pdf").toStdString(),
          "C:\\readonly"},
         1,
         {"no lines", "no PDF"},
         false},
        // Other usage errors.
        {{drive(tree), "--listing=sizes", "C:\\"}, 2, {"path-size-date"}, false},
        {{"--no-such-option"}, 2, {"unknown option --no-such-option"}, false},
    };
    // A copy the other user can run, with the program it hands drawing to.
    const std::string copy = tree.path("../tolan-list").toStdString();
    for (const QString& program :
         {QStringLiteral("tolan-list"), QStringLiteral("tolan-list-draw")}) {
        const QString to = QString::fromUtf8(tree.path("../" + program.toUtf8()));
        ASSERT_TRUE(QFile::copy(QFileInfo(QStringLiteral(TOLAN_LIST)).dir().filePath(program), to));
        chmod(QFile::encodeName(to).constData(), 0755);
    }
    for (const Case& c : cases) {
        const Result r = run(c.args, c.asNobody, "1796738584", c.asNobody ? copy : TOLAN_LIST);
        EXPECT_EQ(r.status, c.status) << c.words.front() << ": " << r.err.constData();
        EXPECT_TRUE(r.err.startsWith("tolan-list: ")) << r.err.constData();
        for (const std::string& word : c.words)
            EXPECT_TRUE(r.err.contains(word.c_str())) << word << " in " << r.err.constData();
    }
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(tree.path("readonly/out.txt"))));
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(tree.path("empty.pdf"))));
    EXPECT_EQ(QDir(QString::fromUtf8(tree.path("readonly"))).entryList(QDir::Files | QDir::Hidden),
              QStringList());
}

// Run by a user who cannot read some folders (first, in the middle, last,
// or a dozen of them): the listing shows each without files and exits 0, and
// standard error names them, the first ten and how many more.
TEST(TolanList, NamesTheFoldersItCouldNotRead) {
    TempTree tree;
    for (const char* folder : {"top/a", "top/m", "top/m/x", "top/m/y", "top/z"})
        tree.file(QByteArray(folder) + "/f", 1);
    tree.file("many/f", 1);
    for (int i = 0; i < 12; ++i) tree.file("many/d" + QByteArray::number(i + 10) + "/f", 1);
    chmod(tree.root().constData(), 0755);
    chmod(tree.path("..").constData(), 0755);
    const auto close = [&](const QByteArray& folder) {
        chown(tree.path(folder).constData(), 0, 0);
        chmod(tree.path(folder).constData(), 0700);
    };
    for (const char* folder : {"top/a", "top/m/x", "top/z"}) close(folder);
    for (int i = 0; i < 12; ++i) close("many/d" + QByteArray::number(i + 10));
    const std::string copy = tree.path("../tolan-list").toStdString();
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLAN_LIST), QString::fromStdString(copy)));
    chmod(copy.c_str(), 0755);
    struct Case {
        const char* root;
        std::vector<const char*> named;
        const char* more;  // the count of the rest, when some are not named
    } cases[] = {
        {"C:\\top",
         {"C:\\top\\a: permission denied", "C:\\top\\m\\x: permission denied",
          "C:\\top\\z: permission denied"},
         nullptr},
        {"C:\\many", {"C:\\many\\d10: ", "C:\\many\\d19: "}, "and 2 more"},
    };
    for (const Case& c : cases) {
        const Result r = run({drive(tree), "--encoding=utf-8", c.root}, true, "1796738584", copy);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        for (const char* name : c.named)
            EXPECT_TRUE(r.err.contains(name)) << name << " in " << r.err.constData();
        EXPECT_EQ(r.err.count("tolan-list:   C:"), c.more ? 10 : 3) << r.err.constData();
        if (c.more) {
            EXPECT_TRUE(r.err.contains(c.more)) << r.err.constData();
        }
        EXPECT_FALSE(r.err.contains("\\m\\y")) << r.err.constData();
        EXPECT_TRUE(r.out.contains("Total")) << r.out.constData();
    }
}

namespace {

// The lines of a listing written as UTF-8 text, blanks as pdftotext gives
// them back and blank lines left out.
QStringList listedWords(const QByteArray& out) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(out).split(QStringLiteral("\r\n")))
        if (!line.trimmed().isEmpty()) lines.append(words(line));
    return lines;
}

// A tree with names in many scripts, long enough for several pages.
void oddNames(TempTree& tree) {
    for (const char* name :
         {"日本語の名前.txt", "ﾊﾝｶｸ ｶﾅ.txt", "한국어 파일.doc", "Русский файл.txt", "Ελληνικά.txt",
          "crème brûlée, 100%.txt", "中文名字.txt", "quote'and\"double.txt"})
        tree.file(QByteArray("work/") + name, 1234);
    for (int i = 0; i < 150; ++i)
        tree.file("work/many/f" + QByteArray::number(i) + ".dat", i * 1000);
}

}  // namespace

TEST(TolanList, PrintsTheListingAsAPdfWhoseTextAndFontsSurvive) {
    TempTree tree;
    oddNames(tree);
    const Result text = run({drive(tree), "--encoding=utf-8", "C:\\work"});
    ASSERT_EQ(text.status, 0) << text.err.constData();
    const std::string pdf = tree.path("listing.pdf").toStdString();
    const Result r = run({drive(tree), "--format", "pdf", "-o", pdf, "C:\\work"});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.err, QByteArray());

    const QString file = QString::fromStdString(pdf);
    const int pages = pdfPages(file);
    ASSERT_GE(pages, 3);
    const QList<QStringList> lines = pdfPageLines(pdfText(file));
    ASSERT_EQ(lines.size(), pages);
    const QString heading =
        QStringLiteral("C:\\work ") +
        QDateTime::fromSecsSinceEpoch(1796738584).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    QStringList body;
    for (int p = 0; p < pages; ++p) {
        ASSERT_GE(lines[p].size(), 3) << p;
        EXPECT_EQ(lines[p].first(), heading) << p;
        EXPECT_EQ(lines[p].last(), QStringLiteral("%1 / %2").arg(p + 1).arg(pages));
        body += lines[p].mid(1, lines[p].size() - 2);
    }
    EXPECT_EQ(body, listedWords(text.out));

    // Every font is embedded and maps its glyphs back to text.
    const QStringList fonts = pdfFonts(file);
    ASSERT_FALSE(fonts.isEmpty());
    EXPECT_TRUE(fonts.first().startsWith(QStringLiteral("IPAGothic ")));
    for (const QString& font : fonts)  // emb, sub, uni, object number
        EXPECT_TRUE(
            font.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +yes +\\d+ +\\d+$"))))
            << font.toStdString();

    // Dated by SOURCE_DATE_EPOCH, as its pages are, in the zone's offset.
    const auto bytesOf = [](const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray bytes = bytesOf(pdf);
    EXPECT_TRUE(bytes.contains("/CreationDate (D:20261208140304Z)"));
    // Newer Qt dates its XMP metadata too.
    if (bytes.contains("xmp:CreateDate")) {
        EXPECT_TRUE(bytes.contains("xmp:CreateDate=\"2026-12-08T14:03:04"));
    }

    // What the listing font has no glyph for is drawn, not left a blank box.
    TempTree emoji;
    emoji.file("work/smile\xf0\x9f\x98\x80.txt", 1);
    const std::string drawn = emoji.path("emoji.pdf").toStdString();
    setenv("TZ", "JST-9", 1);
    const int status = run({drive(emoji), "--format", "pdf", "-o", drawn, "C:\\work"}).status;
    setenv("TZ", "UTC", 1);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(pdfFonts(QString::fromStdString(drawn)).join(u'\n').contains(u"Symbola"));
    EXPECT_TRUE(bytesOf(drawn).contains("/CreationDate (D:20261208230304+09'00')"));
}

TEST(TolanList, PrintsAListingFilesRecordsAsAPdf) {
    TempTree tree;
    oddNames(tree);
    const Result text = run({drive(tree), "--listing=path-size", "--encoding=utf-8", "C:\\work"});
    const std::string pdf = tree.path("records.pdf").toStdString();
    ASSERT_EQ(
        run({drive(tree), "--listing=path-size", "--format=pdf", "-o", pdf, "C:\\work"}).status, 0);
    QStringList body;
    for (const QStringList& page : pdfPageLines(pdfText(QString::fromStdString(pdf))))
        body += page.mid(1, page.size() - 2);
    EXPECT_EQ(body, listedWords(text.out));
}

TEST(TolanList, PrintsHelpAndVersion) {
    const Result version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QByteArray(TOLAN_VERSION_LABEL "\n"));
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--mode", "--type", "--ext", "--width", "--drive", "--encoding", "--listing",
          "path-size-date", "folder-name-size-date", "path-size", "path-date", "--csv", "--format",
          "jq", "-o", "Exit status", "128+N"})
        EXPECT_TRUE(help.out.contains(option)) << option;
}

// What each set of patterns leaves out of a tree with odd names, in every
// output (the snapshot's paths here, a listing's Total), and what standard
// error says of it.
TEST(TolanList, ExcludePatternsLeaveOutWhatTheyNameAndSaySo) {
    TempTree tree;
    for (const QByteArray& name :
         {QByteArray("src/main.c"), QByteArray("src/main.o"), QByteArray(".git/config"),
          QByteArray(".git/objects/x"), QByteArray("node_modules/pkg/index.js"),
          QByteArray("docs/node_modules"), QByteArray("odd\nname.tmp"),
          QByteArray("back\\slash.tmp"), QByteArray("\xff\xfe.bin"), QByteArray("build/out/a.txt"),
          QByteArray("x/build/out/b.txt")})
        tree.file(name, 100);
    const QByteArray patternFile = tree.path("../patterns");
    QFile f(QString::fromLocal8Bit(patternFile));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# a project without its repository and packages\r\n.git/\n\nnode_modules/\n");
    f.close();
    const struct {
        std::vector<std::string> options;
        std::vector<const char*> absent;  // paths, as the snapshot writes them
        const char* said;
    } rows[] = {
        {{}, {}, ""},
        {{"--exclude-from", patternFile.toStdString()},
         {".git/", "node_modules/pkg"},
         "left out: 0 files, 2 folders (.git/: 1, node_modules/: 1)"},
        {{"--exclude", "*.tmp", "--exclude=*.o"},
         {"odd\\u000aname.tmp", "back\\\\slash.tmp", "src/main.o"},
         "left out: 3 files, 0 folders (*.tmp: 2, *.o: 1)"},
        {{"--exclude", "/build", "--exclude", "[\xff]*"},
         {"\"build/out/a.txt", "\\udcff\\udcfe.bin"},
         "left out: 1 file, 1 folder (/build: 1, [\xff]*: 1)"},
        {{"--exclude", "**/out/"},
         {"\"build/out/a.txt", "x/build/out/b.txt"},
         "left out: 0 files, 2 folders (**/out/: 2)"},
        {{"--exclude", "nothing-here"}, {}, "left out: 0 files, 0 folders"},
    };
    const std::vector<const char*> every = {"src/main.c",
                                            "src/main.o",
                                            ".git/config",
                                            ".git/objects/x",
                                            "docs/node_modules",
                                            "odd\\u000aname.tmp",
                                            "back\\\\slash.tmp",
                                            "\\udcff\\udcfe.bin",
                                            "\"build/out/a.txt",
                                            "x/build/out/b.txt",
                                            "node_modules/pkg/index.js"};
    for (const auto& row : rows) {
        std::vector<std::string> args = row.options;
        args.insert(args.end(), {drive(tree), "--format", "jsonl", "C:\\"});
        const Result r = run(args);
        ASSERT_EQ(r.status, 0) << r.err.constData();
        for (const char* path : every) {
            bool absent = false;
            for (const char* gone : row.absent)
                absent = absent || std::string(path).find(gone) == 0;
            EXPECT_EQ(r.out.contains(path), !absent) << row.said << ": " << path;
        }
        const QByteArray said = *row.said ? "tolan-list: " + QByteArray(row.said) + "\n" : "";
        EXPECT_EQ(r.err, said);
    }
    const Result listing = run({drive(tree), "--exclude", "*.o", "--encoding", "utf-8", "C:\\"});
    EXPECT_TRUE(listing.out.contains("Total       10 Files")) << listing.out.constData();
    EXPECT_FALSE(listing.out.contains("main.o"));
}

// Patterns that cannot be used, files of patterns that cannot be read and a
// pattern that leaves out the folder itself stop the run before it lists.
TEST(TolanList, RefusesBadPatternsAndPatternFilesBeforeListing) {
    TempTree tree;
    tree.file("a.txt", 1);
    const std::string fifo = tree.path("../fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::vector<std::string> options;
        const char* said;
    } rows[] = {
        {{"--exclude", "a["}, "--exclude: the pattern \"a[\" has a \"[\" that is not closed"},
        {{"--exclude", ""}, "--exclude: the pattern \"\" is empty"},
        {{"--exclude", "/**/"}, "the pattern \"/**/\" holds only \"/\" and \"**\""},
        {{"--exclude-from", tree.path("../missing").toStdString()}, "': no such file"},
        {{"--exclude-from", tree.path("..").toStdString()}, "': it is a folder"},
        {{"--exclude-from", fifo}, "': it is not a regular file"},
        {{"--exclude", "ro*"}, "the pattern \"ro*\" leaves out the folder listed itself"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = row.options;
        args.insert(args.end(), {drive(tree), "C:\\"});
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << row.said;
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(row.said)) << r.err.constData();
    }
}
