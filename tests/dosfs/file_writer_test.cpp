// The one writer: what each kind of target becomes, and two writers of one
// file at once.

#include "platform/dosfs/file_writer.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/numbered_files.h"
#include "tests/support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using dosfs::FileWriter;

namespace {

QByteArray readHost(const QByteArray& path) {
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QByteArray& folder) {
    return QDir(QString::fromUtf8(folder)).entryList(QDir::Files | QDir::System);
}

}  // namespace

TEST(FileWriter, EachKindOfTargetIsReplacedOrWrittenInPlaceOrRefused) {
    TempTree tree;
    tree.folder("out");
    const QByteArray out = tree.path("out");
    auto earlier = [&](const char* name, mode_t mode) {
        QFile f(QString::fromUtf8(out + '/' + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier");
        f.close();
        ::chmod((out + '/' + name).constData(), mode);
    };
    const struct Row {
        const char* what;
        QByteArray path;
        std::function<void()> make;
        int error;                   // of open(); 0: written
        std::function<void()> then;  // what the target is afterwards
    } rows[] = {
        {"a new name", out + "/new.txt", [] {}, 0,
         [&] { EXPECT_EQ(readHost(out + "/new.txt"), "listing"); }},
        {"a file, its permissions kept", out + "/kept.txt", [&] { earlier("kept.txt", 0640); }, 0,
         [&] {
             struct stat st {};
             ::stat((out + "/kept.txt").constData(), &st);
             EXPECT_EQ(st.st_mode & 07777, 0640u);
             EXPECT_EQ(readHost(out + "/kept.txt"), "listing");
         }},
        {"a link: the file it names", out + "/link.txt",
         [&] {
             earlier("target.txt", 0644);
             tree.link("out/link.txt", "target.txt");
         },
         0,
         [&] {
             struct stat st {};
             ::lstat((out + "/link.txt").constData(), &st);
             EXPECT_TRUE(S_ISLNK(st.st_mode));
             EXPECT_EQ(readHost(out + "/target.txt"), "listing");
         }},
        {"a setuid, setgid and sticky file: its permissions but those", out + "/suid.txt",
         [&] { earlier("suid.txt", 07755); }, 0,
         [&] {
             struct stat st {};
             ::stat((out + "/suid.txt").constData(), &st);
             EXPECT_EQ(st.st_mode & 07777, 0755u);
         }},
        {"a read-only file", out + "/ro.txt", [&] { earlier("ro.txt", 0444); },
         dosfs::kPermissionDenied, [&] { EXPECT_EQ(readHost(out + "/ro.txt"), "earlier"); }},
        {"a folder", out, [] {}, dosfs::kPathFileAccessError, [] {}},
        {"a name in a missing folder", out + "/none/x.txt", [] {}, dosfs::kPathNotFound, [] {}},
        {"a device", "/dev/null", [] {}, 0,
         [] {
             struct stat st {};
             ::stat("/dev/null", &st);
             EXPECT_TRUE(S_ISCHR(st.st_mode));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.make();
        const QStringList before = entries(out);
        FileWriter writer;
        ASSERT_EQ(writer.open(row.path), row.error);
        writer.write("listing");
        EXPECT_EQ(writer.finish(), row.error ? row.error : 0);
        row.then();
        EXPECT_EQ(entries(out).size(), before.size() + (row.path == out + "/new.txt" ? 1 : 0))
            << "nothing left beside";
    }

    // A pipe is written in place: its reader gets the bytes.
    const QByteArray fifo = out + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QByteArray got;
    std::thread reader([&] {
        const int fd = ::open(fifo.constData(), O_RDONLY);
        char buffer[64];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) got.append(buffer, n);
        ::close(fd);
    });
    FileWriter writer;
    ASSERT_EQ(writer.open(fifo), 0);
    writer.write("through the pipe");
    EXPECT_EQ(writer.finish(), 0);
    reader.join();
    EXPECT_EQ(got, "through the pipe");
}

TEST(FileWriter, TwoWritersOfOneFileLeaveTheLastWholeAndNothingBeside) {
    TempTree tree;
    tree.folder("out");
    const QByteArray target = tree.path("out/list.txt");
    FileWriter first, second;
    ASSERT_EQ(first.open(target), 0);
    ASSERT_EQ(second.open(target), 0);
    first.write(QByteArray(100000, 'a'));
    second.write(QByteArray(100000, 'b'));
    EXPECT_EQ(second.finish(), 0);
    EXPECT_EQ(first.finish(), 0);
    EXPECT_EQ(readHost(target), QByteArray(100000, 'a'));
    EXPECT_EQ(entries(tree.path("out")), QStringList{QStringLiteral("list.txt")});
}

TEST(FileWriter, AStateFolderThatCannotBeMadeOnlyLosesTheJournal) {
    TempTree tree;
    tree.file("not-a-folder");
    tree.folder("out");
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", tree.path("not-a-folder"));
    FileWriter writer;
    ASSERT_EQ(writer.open(tree.path("out/list.txt")), 0);
    writer.write("listing");
    EXPECT_EQ(writer.finish(), 0);
    qputenv("XDG_STATE_HOME", saved);
    EXPECT_EQ(readHost(tree.path("out/list.txt")), "listing");
}

// Every name the program chooses itself (the work file on its own drive, a
// snapshot it names, its journal) is replaced with a file of its own when
// another user planted a link or a pipe there: nothing is written through.
TEST(FileWriter, ALinkOrPipePlantedAtANameOfTheProgramsOwnIsReplacedNotFollowed) {
    TempTree tree;
    tree.folder("own");
    const QByteArray victim = tree.path("victim.txt");
    const QByteArray journal = dosfs::stateFolder() + "/pending-" + QByteArray::number(::getpid());
    QDir().mkpath(QString::fromLocal8Bit(dosfs::stateFolder()));
    dosfs::DriveTable drives;
    drives.set(u'C', tree.path("c"));
    dosfs::FileSystem fs(drives);
    ASSERT_EQ(fs.setOwnDrive(tree.path("own")), QChar(u'Z'));
    const struct Row {
        const char* what;
        QByteArray name;  // where the link is planted
        std::function<void()> write;
    } rows[] = {
        {"the work file", tree.path("own/DIR.TXT"),
         [&] {
             dosfs::NumberedFiles files(fs);
             ASSERT_EQ(files.open(3, QStringLiteral("Z:\\DIR.TXT"), dosfs::OpenMode::Replace), 0);
             EXPECT_EQ(files.printLine(3, QStringLiteral("listing")), 0);
             EXPECT_EQ(files.close(3), 0);
         }},
        {"a snapshot it names", tree.path("own/snap.jsonl"),
         [&] {
             FileWriter writer;
             ASSERT_EQ(writer.open(tree.path("own/snap.jsonl"), FileWriter::Mode::Own), 0);
             writer.write("listing");
             EXPECT_EQ(writer.finish(), 0);
         }},
        {"the journal", journal,
         [&] {
             FileWriter writer;
             ASSERT_EQ(writer.open(tree.path("own/any.txt")), 0);
             EXPECT_TRUE(QFileInfo(QString::fromLocal8Bit(journal)).isFile());
             EXPECT_FALSE(QFileInfo(QString::fromLocal8Bit(journal)).isSymLink());
             writer.write("listing");
             EXPECT_EQ(writer.finish(), 0);
         }},
    };
    for (const Row& row : rows) {
        for (const bool pipe : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (pipe ? ": a pipe" : ": a link"));
            {
                QFile f(QString::fromUtf8(victim));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write("the victim's own");
            }
            ::unlink(row.name.constData());
            ASSERT_EQ(pipe ? ::mkfifo(row.name.constData(), 0666)
                           : ::symlink(victim.constData(), row.name.constData()),
                      0);
            row.write();
            EXPECT_EQ(readHost(victim), "the victim's own");
            struct stat st {};
            if (::lstat(row.name.constData(), &st) == 0) {
                EXPECT_TRUE(S_ISREG(st.st_mode));
            }
            if (row.name != journal) {
                EXPECT_TRUE(readHost(row.name).startsWith("listing"));
            }
        }
    }
}
