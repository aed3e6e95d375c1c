// tolan-list --listing and --format jsonl: the window's listing files from
// the same scan, JSON lines that stat agrees with, and nothing partial left
// when a run is ended by a signal or killed.

#include "tests/support/program_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray tolanList(const QStringList& args, int* status = nullptr) {
    QProcess p;
    p.start(QStringLiteral(TOLAN_LIST), args);
    p.waitForFinished(60000);
    if (status) *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

QByteArray readFile(const QByteArray& path) {
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Host bytes back from a JSON string: \udc80-\udcff are the bytes that are
// not UTF-8, the rest is UTF-8.
QByteArray hostBytes(const QString& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += static_cast<char>(c - 0xDC00);
        } else if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            out += text.mid(i, 2).toUtf8();
            ++i;
        } else {
            out += QString(text[i]).toUtf8();
        }
    }
    return out;
}

// Random names of ASCII, Japanese and the characters records must quote,
// with odd names beside them.
void makeTree(TempTree& tree) {
    std::mt19937 random(20261208);
    const QStringList parts = {QStringLiteral("a"),    QStringLiteral("資料"),
                               QStringLiteral("ﾃｽﾄ"),  QStringLiteral("x,y"),
                               QStringLiteral("q\"t"), QStringLiteral(" s ")};
    for (int i = 0; i < 60; ++i) {
        QString name = parts[random() % parts.size()] + QString::number(i) +
                       parts[random() % parts.size()] + QStringLiteral(".txt");
        const QByteArray folder =
            "c/work/d" + QByteArray::number(random() % 5) + "/e" + QByteArray::number(random() % 2);
        tree.file(folder + '/' + name.toUtf8(), static_cast<qint64>(random() % 5'000'000),
                  1'600'000'000 + static_cast<qint64>(random() % 100'000'000));
    }
    for (const QByteArray& odd :
         {QByteArray("tab\there.txt"), QByteArray("bad\xff\xfe.txt"),
          QByteArray("emoji\xf0\x9f\x98\x80.doc"), QByteArray("back\\slash")})
        tree.file("c/work/odd/" + odd, 77);
}

}  // namespace

TEST(ListingOutput, EveryKindIsTheFileTheWindowWrites) {
    TempTree tree;
    makeTree(tree);
    tree.folder("c/out");
    ProgramFixture w(tree);
    shell::Form1& f = *w.form;
    f.state.settings.outputDir = QStringLiteral("C:\\out");
    w.open(QStringLiteral("C:\\work"));
    const struct {
        forms::CommandButton* command;
        const char* mode;
    } scans[] = {{&f.Command3, "totals"}, {&f.Command1, "plain"}, {&f.Command6, "folders"}};
    forms::Menu* menus[] = {f.FR1, f.FR0, f.FR2, f.FR3, f.FR4};
    const char* kinds[] = {"path-size-date", "folder-name-size-date", "path-size", "path-date",
                           "path"};
    const char* stems[] = {"TOLAN", "TOLAN0", "TOLAN1", "TOLAN2", "TOLAN3"};
    for (const auto& scan : scans)
        for (const engine::ListType type : {engine::ListType::FullPaths, engine::ListType::Names}) {
            f.Combo2.setText(engine::caption(type));
            scan.command->raiseClick();
            ASSERT_GT(f.List2[0]->listCount(), 60);
            for (int csv = 0; csv < 2; ++csv) {
                f.state.settings.csvOutput = csv;
                for (int k = 0; k < 5; ++k) {
                    menus[k]->raiseClick();
                    QStringList args = {
                        QStringLiteral("--drive=C:=") + tree.path("c"),
                        QStringLiteral("--mode"),
                        QLatin1String(scan.mode),
                        QStringLiteral("--type"),
                        type == engine::ListType::Names ? QStringLiteral("2") : QStringLiteral("1"),
                        QStringLiteral("--listing"),
                        QLatin1String(kinds[k])};
                    if (csv) args << QStringLiteral("--csv");
                    args << QStringLiteral("C:\\work");
                    const QByteArray file =
                        readFile(tree.path("c/out/") + stems[k] + (csv ? ".CSV" : ".TXT"));
                    EXPECT_EQ(tolanList(args), file) << scan.mode << ' ' << kinds[k] << ' ' << csv;
                }
            }
        }
}

TEST(ListingOutput, JsonLinesAgreeWithStatAndGiveBackTheHostBytes) {
    TempTree tree;
    makeTree(tree);
    const QByteArray out =
        tolanList({QStringLiteral("--drive=C:=") + tree.path("c"), QStringLiteral("--format"),
                   QStringLiteral("jsonl"), QStringLiteral("C:\\work")});
    QList<QByteArray> lines = out.split('\n');
    lines.removeIf([](const QByteArray& l) { return l.startsWith("{\"type\":"); });
    ASSERT_EQ(lines.size(), 65);  // 64 files and the empty rest after the last line end
    bool sawBadBytes = false;
    for (const QByteArray& line : lines.mid(0, 64)) {
        QJsonParseError error{};
        const QJsonObject o = QJsonDocument::fromJson(line, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line.constData();
        const QByteArray host = hostBytes(o[QStringLiteral("host_folder")].toString()) + '/' +
                                hostBytes(o[QStringLiteral("host_name")].toString());
        sawBadBytes = sawBadBytes || host.endsWith("bad\xff\xfe.txt");
        EXPECT_EQ(tree.path("c/work") + '/' + hostBytes(o[QStringLiteral("path")].toString()),
                  host);
        struct stat st {};
        ASSERT_EQ(::stat(host.constData(), &st), 0) << host.constData();
        EXPECT_EQ(o[QStringLiteral("size")].toInteger(), st.st_size) << host.constData();
        const QDateTime mtime =
            QDateTime::fromString(o[QStringLiteral("mtime")].toString(), Qt::ISODate);
        EXPECT_EQ(mtime.toSecsSinceEpoch(), st.st_mtime) << host.constData();
        EXPECT_TRUE(o[QStringLiteral("folder")].toString().startsWith(QStringLiteral("C:\\work")));
        EXPECT_EQ(o[QStringLiteral("size_text")].toString().trimmed().toLongLong(), st.st_size);
    }
    EXPECT_TRUE(sawBadBytes);
}

// JSON lines miss no file however deep; the text listing keeps its eight
// levels and says on standard error how many folders it left out.
TEST(ListingOutput, JsonLinesGoBelowTheEighthLevelWhereTextSaysWhatItLeftOut) {
    TempTree tree;
    tree.file("c/work/1/2/3/4/5/6/7/8/9/10/deep.txt");
    tree.file("c/work/1/2/3/4/5/6/7/8/other/x.txt");
    tree.file("c/work/top.txt");
    const QString drive = QStringLiteral("--drive=C:=") + tree.path("c");
    const QByteArray jsonl =
        tolanList({drive, QStringLiteral("--format=jsonl"), QStringLiteral("C:\\work")});
    EXPECT_TRUE(jsonl.contains("\"path\":\"1/2/3/4/5/6/7/8/9/10/deep.txt\""));
    EXPECT_TRUE(jsonl.contains("\"path\":\"1/2/3/4/5/6/7/8/other/x.txt\""));
    QProcess p;
    p.start(QStringLiteral(TOLAN_LIST), {drive, QStringLiteral("C:\\work")});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_FALSE(p.readAllStandardOutput().contains("deep.txt"));
    EXPECT_EQ(p.readAllStandardError(),
              "tolan-list: 2 folders below the eighth level were not listed (--format jsonl "
              "lists every level)\n");
}

TEST(ListingOutput, ASignalLeavesTheEarlierFileAndNothingBesideIt) {
    TempTree tree(TempTree::InMemory{});
    for (int d = 0; d < 400; ++d)
        for (int i = 0; i < 100; ++i)
            tree.file("c/big/d" + QByteArray::number(d) + "/f" + QByteArray::number(i) + ".txt");
    tree.folder("out");
    const QByteArray target = tree.path("out/list.txt");
    const QDir out(QString::fromUtf8(tree.path("out")));
    const struct {
        int sig;
        QStringList format;
    } runs[] = {{SIGINT, {QStringLiteral("--listing"), QStringLiteral("path")}},
                {SIGTERM, {}},
                {SIGHUP, {QStringLiteral("--format=jsonl")}}};
    for (const auto& run : runs) {
        // The run is frozen once the file beside exists, so that the signal
        // comes while it is written however busy the machine is; a run that
        // got past its rename first is tried again.
        bool caught = false;
        for (int attempt = 0; attempt < 50 && !caught; ++attempt) {
            QFile old(QString::fromUtf8(target));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("the earlier listing\r\n");
            old.close();
            QProcess p;
            // A test started in the background inherits SIGINT ignored.
            p.setChildProcessModifier([] {
                for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, SIG_DFL);
            });
            p.start(QStringLiteral(TOLAN_LIST),
                    QStringList{QStringLiteral("--drive=C:=") + tree.path("c"),
                                QStringLiteral("--threads=1"), QStringLiteral("-o"),
                                QString::fromUtf8(target)}
                        << run.format << QStringLiteral("C:\\big"));
            ASSERT_TRUE(p.waitForStarted());
            const pid_t pid = static_cast<pid_t>(p.processId());
            for (int waited = 0; waited < 5000 && out.entryList(QDir::Files).size() < 2; ++waited)
                ::usleep(1000);
            ::kill(pid, SIGSTOP);
            caught = out.entryList(QDir::Files).size() == 2;
            if (caught) ::kill(pid, run.sig);
            ::kill(pid, SIGCONT);
            p.waitForFinished(10000);
            if (!caught) continue;
            EXPECT_EQ(p.exitCode(), 128 + run.sig);
            EXPECT_EQ(readFile(target), QByteArray("the earlier listing\r\n"));
            EXPECT_EQ(out.entryList(QDir::Files), QStringList{QStringLiteral("list.txt")});
        }
        EXPECT_TRUE(caught) << "signal " << run.sig;
    }
}

// tolan-list run from `folder`.
QProcess* startIn(const QByteArray& folder, const QStringList& args) {
    auto* p = new QProcess;
    p->setWorkingDirectory(QString::fromUtf8(folder));
    p->start(QStringLiteral(TOLAN_LIST), args);
    p->waitForStarted();
    return p;
}

// The files a run of tolan-list has open, beside their names, are never
// listed: its own output in the folder it lists, in every format, and
// another run's. A relative -o is journaled by its full name, so what a
// killed run left is removed by the next run wherever that starts.
TEST(ListingOutput, ItsOwnFilesInProgressAreNeverListedAndAKilledRunsAreSweptFromAnywhere) {
    TempTree tree(TempTree::InMemory{});
    tree.file("c/a.txt", 10);
    for (int d = 0; d < 60; ++d)
        for (int i = 0; i < 100; ++i)
            tree.file("big/d" + QByteArray::number(d) + "/f" + QByteArray::number(i) + ".txt");
    tree.folder("out");
    const QString c = QStringLiteral("--drive=C:=") + tree.path("c");
    for (const QStringList& format :
         {QStringList{}, QStringList{QStringLiteral("--listing"), QStringLiteral("path")},
          QStringList{QStringLiteral("--format=jsonl")}}) {
        std::unique_ptr<QProcess> run(startIn(
            tree.path("c"), QStringList{c, QStringLiteral("-o"), QStringLiteral("listing.txt")}
                                << format << QStringLiteral("C:\\")));
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
        const QByteArray listing = readFile(tree.path("c/listing.txt"));
        EXPECT_TRUE(listing.contains("a.txt")) << format.join(u' ').toStdString();
        EXPECT_FALSE(listing.contains(".tolan-")) << format.join(u' ').toStdString();
    }

    // A run frozen while its file beside exists; a second run lists that folder.
    const QDir out(QString::fromUtf8(tree.path("out")));
    std::unique_ptr<QProcess> frozen(
        startIn(tree.path("out"),
                {QStringLiteral("--drive=C:=") + tree.path("big"), QStringLiteral("--threads=1"),
                 QStringLiteral("-o"), QStringLiteral("list.txt"), QStringLiteral("C:\\")}));
    const pid_t pid = static_cast<pid_t>(frozen->processId());
    for (int waited = 0; waited < 5000 && out.entryList(QDir::Files).isEmpty(); ++waited)
        ::usleep(1000);
    ::kill(pid, SIGSTOP);
    const QStringList beside = out.entryList(QDir::Files);
    ASSERT_EQ(beside.size(), 1);
    ASSERT_TRUE(beside[0].startsWith(QStringLiteral("list.txt.tolan-")));
    const QByteArray listed = tolanList({QStringLiteral("--drive=C:=") + tree.path("out"),
                                         QStringLiteral("--format=jsonl"), QStringLiteral("C:\\")});
    EXPECT_FALSE(listed.contains(".tolan-")) << listed.toStdString();
    ::kill(pid, SIGKILL);
    frozen->waitForFinished(10000);
    EXPECT_EQ(out.entryList(QDir::Files), beside) << "left by the killed run";

    // The next run, from another folder, removes it.
    std::unique_ptr<QProcess> next(startIn(tree.root(), {c, QStringLiteral("C:\\")}));
    ASSERT_TRUE(next->waitForFinished(60000));
    EXPECT_EQ(out.entryList(QDir::Files), QStringList());
}

// tolan-list with -o in each format, ended at random points by SIGKILL,
// SIGTERM or SIGINT: FILE is the earlier listing or the new one, whole; a
// signal it can handle leaves nothing beside FILE and no journal, and the
// next run removes what SIGKILL left.
TEST(CrashTest, TolanListLeavesTheOldOrTheNewFileWhole) {
    const char* given = std::getenv("TOLAN_CRASH_SEED");
    const unsigned seed = given && *given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                          : std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::printf("tolan-list -o: kill points from seed %u\n", seed);

    TempTree tree(TempTree::InMemory{});
    for (int d = 0; d < 60; ++d)
        for (int i = 0; i < 100; ++i)
            tree.file("c/big/d" + QByteArray::number(d) + "/f" + QByteArray::number(i) + ".txt");
    tree.folder("out");
    tree.folder("state");
    const QByteArray target = tree.path("out/list.txt");
    const QByteArray old = "the earlier listing\r\n";
    const QStringList formats[] = {{},
                                   {QStringLiteral("--listing"), QStringLiteral("path")},
                                   {QStringLiteral("--format=jsonl")}};
    const QDir out(QString::fromUtf8(tree.path("out")));
    const QDir state(QString::fromUtf8(tree.path("state")));
    auto start = [&](const QStringList& format) {
        QStringList args = {QStringLiteral("--drive=C:=") + tree.path("c"), QStringLiteral("-o"),
                            QString::fromUtf8(target)};
        args << format << QStringLiteral("C:\\big");
        std::vector<std::string> argv{TOLAN_LIST};
        for (const QString& a : args) argv.push_back(a.toStdString());
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("XDG_STATE_HOME", tree.path("state").constData(), 1);
            setenv("SOURCE_DATE_EPOCH", "1796738584", 1);  // the banner's time
            for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, SIG_DFL);
            std::vector<char*> p;
            for (std::string& a : argv) p.push_back(a.data());
            p.push_back(nullptr);
            execv(p[0], p.data());
            _exit(98);
        }
        return pid;
    };
    auto writeOld = [&] {
        QFile f(QString::fromUtf8(target));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    };
    QByteArray whole[3];
    for (int k = 0; k < 3; ++k) {
        int status = 0;
        ::waitpid(start(formats[k]), &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        whole[k] = readFile(target);
        ASSERT_GT(whole[k].size(), 10000);
    }
    for (int point = 0; point < 100; ++point) {
        const int k = point % 3;
        const int sig = std::array{SIGKILL, SIGTERM, SIGINT}[random() % 3];
        writeOld();
        // What a SIGKILL left stays until a run gets as far as its sweep.
        const QStringList before = out.entryList(QDir::Files);
        const pid_t pid = start(formats[k]);
        ::usleep(std::uniform_int_distribution<int>(0, 30000)(random));
        ::kill(pid, sig);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const QByteArray now = readFile(target);
        ASSERT_TRUE(now == old || now == whole[k])
            << "point " << point << " signal " << sig << ": " << now.size() << " bytes";
        if (sig == SIGKILL) continue;
        const bool ended = WIFSIGNALED(status) ? WTERMSIG(status) == sig
                                               : WEXITSTATUS(status) == 128 + sig ||
                                                     (WEXITSTATUS(status) == 0 && now == whole[k]);
        EXPECT_TRUE(ended) << "point " << point << " status " << status;
        for (const QString& name : out.entryList(QDir::Files))
            EXPECT_TRUE(before.contains(name)) << "point " << point << ": " << name.toStdString();
        EXPECT_FALSE(state.exists(QStringLiteral("pending-%1").arg(pid))) << "point " << point;
    }
    int status = 0;
    ::waitpid(start(formats[0]), &status, 0);
    EXPECT_EQ(readFile(target), whole[0]);
    EXPECT_EQ(out.entryList(QDir::Files), QStringList{QStringLiteral("list.txt")});
    EXPECT_TRUE(state.entryList({QStringLiteral("pending-*")}, QDir::Files).isEmpty());
}
