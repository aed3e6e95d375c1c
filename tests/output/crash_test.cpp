// A child killed with SIGKILL at random points while it replaces the
// settings record, a listing file and a saved listing: each file is then
// the old or a new one, whole, and the next start leaves no temporary file.

#include "tests/output/output_fixture.h"

#include "output/listing_writer.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/pending_files.h"

#include <csignal>
#include <cstdlib>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class CrashTest : public OutputTest {
  protected:
    // Kills a child running `replace(version)` for versions 0, 1, 0, ...
    // at `points` random moments; after each kill the file at `rel` must be
    // one of `whole`.
    void killRepeatedly(const char* what, const QByteArray& rel,
                        const std::function<void(int)>& replace, const QList<QByteArray>& whole) {
        // TOLAN_CRASH_SEED replays a run whose seed a failure printed.
        const char* given = std::getenv("TOLAN_CRASH_SEED");
        const unsigned seed = given && *given
                                  ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                  : std::random_device{}();
        std::mt19937 random(seed);
        SCOPED_TRACE(std::string(what) + ": seed " + std::to_string(seed));
        std::printf("%s: kill points from seed %u\n", what, seed);
        for (int point = 0; point < 100; ++point) {
            const pid_t pid = fork();
            if (pid == 0) {
                for (int version = 0;; version ^= 1) replace(version);
            }
            ::usleep(std::uniform_int_distribution<int>(0, 20000)(random));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            const QByteArray now = read(rel);
            ASSERT_TRUE(whole.contains(now))
                << "after kill " << point << ": " << now.size() << " bytes";
        }
        // The next start sweeps what the killed children left.
        dosfs::sweepPending();
        const QByteArray folder = rel.left(rel.lastIndexOf('/'));
        for (const QString& name : entries(folder))
            EXPECT_FALSE(name.contains(QStringLiteral(".tolan-")) ||
                         name.endsWith(QStringLiteral(".new")))
                << name.toStdString();
        EXPECT_TRUE(QDir(QString::fromLocal8Bit(dosfs::stateFolder()))
                        .entryList({QStringLiteral("pending-*")}, QDir::Files)
                        .isEmpty());
    }
    // A scan's files that make a file of some size, marked by version.
    void fillSideA(int version) {
        engine::ScanTable& found = *main().state.found;
        found.start(QStringLiteral("C:\\v%1").arg(version));
        found.enterFolder(found.root());
        dosfs::DirEntry file;
        file.mtime = 1704431229;
        for (int i = 0; i < 3000; ++i) {
            file.name = QStringLiteral("file%1.txt").arg(i);
            file.size = i * 7;
            found.addFile(file);
        }
    }
};

}  // namespace

TEST_F(CrashTest, ReplacedFilesAreOldOrNewAndWhole) {
    // The settings record.
    const QByteArray settingsRel = shell::settingsPath().mid(tree.root().size() + 1);
    QList<QByteArray> records{read(settingsRel)};
    for (int v : {0, 1}) {
        settings().outputDir = QStringLiteral("C:\\version%1").arg(v);
        shell::SaveSettings(settings(), main());
        records << read(settingsRel);
    }
    killRepeatedly(
        "settings record", settingsRel,
        [this](int v) {
            settings().outputDir = QStringLiteral("C:\\version%1").arg(v);
            shell::SaveSettings(settings(), main());
        },
        records);

    // A listing file.
    tree.folder("c/out");
    settings().outputDir = QStringLiteral("C:\\out");
    QList<QByteArray> listings{"<missing>"};
    for (int v : {0, 1}) {
        fillSideA(v);
        output::writeListing(main(), output::Columns::NameSizeDate);
        listings << read("c/out/TOLAN.TXT");
    }
    killRepeatedly(
        "listing file", "c/out/TOLAN.TXT",
        [this](int v) {
            fillSideA(v);
            output::writeListing(main(), output::Columns::NameSizeDate);
        },
        listings);

    // A saved listing: the work file of one of two scans, saved as LIST.TXT.
    tree.file("c/big/x.txt", 5);
    for (int i = 0; i < 2000; ++i) tree.file("c/big/f" + QByteArray::number(i) + ".txt", i);
    const QString workHost = QString::fromLocal8Bit(w->fs->resolve(main().state.workFilePath).host);
    QList<QByteArray> works;
    for (const char* folder : {"C:\\work", "C:\\big"}) {
        w->open(QString::fromLatin1(folder));
        main().Command3.raiseClick();
        QFile f(workHost);
        f.open(QIODevice::ReadOnly);
        works << f.readAll();
    }
    auto save = [&](int v) {
        QFile f(workHost);
        f.open(QIODevice::WriteOnly);
        f.write(works[v]);
        f.close();
        main().Command4.raiseClick();
        menu->form2.activatedByUser();
        menu->form2.Text1.typed(QStringLiteral("C:\\out\\LIST.TXT"));
        menu->form2.Command3.raiseClick();
    };
    save(0);
    killRepeatedly("saved listing", "c/out/LIST.TXT", save, {works[0], works[1]});
}
