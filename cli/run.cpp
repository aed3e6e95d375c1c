#include "cli/run.h"

#include "cli/compare_run.h"
#include "cli/find_run.h"
#include "cli/kept_lines.h"
#include "cli/left_out.h"
#include "cli/list_host.h"
#include "cli/options.h"
#include "cli/output_target.h"
#include "cli/scan_report.h"
#include "engine/module1.h"
#include "engine/snapshot_scan.h"
#include "engine/snapshot_tree.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/pending_files.h"
#include "tolan/version.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using cli::fail;

bool isDosPath(const QByteArray& path) {
    return path.size() >= 2 && path[1] == ':' && static_cast<unsigned char>(path[0]) < 0x80 &&
           QChar(path[0]).isLetter();
}

qint64 bannerMoment() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        bool ok = false;
        const qint64 seconds = QByteArray(epoch).toLongLong(&ok);
        if (ok) return seconds;
    }
    return static_cast<qint64>(std::time(nullptr));
}

// The drives as messages name them: "C: /home/alice, Z: /".
QString driveList(const dosfs::DriveTable& drives) {
    QStringList out;
    for (QChar letter : drives.letters())
        out.append(QString(letter) + QStringLiteral(": ") +
                   QString::fromLocal8Bit(drives.hostFolder(letter)));
    return out.isEmpty() ? QStringLiteral("none") : out.join(QStringLiteral(", "));
}

// A letter no drive has, for the --drive a message suggests.
QChar freeLetter(const dosfs::DriveTable& drives) {
    for (char16_t c = u'D'; c <= u'Y'; ++c)
        if (!drives.contains(QChar(c))) return QChar(c);
    return QChar(u'X');
}

// What an error number means for the folder to list.
QString folderCause(int error) {
    return QString::fromLatin1(dosfs::errorText(error, dosfs::Doing::ListingFolder));
}

// The folder to list as a DOS path; a message naming the cause when it
// cannot be listed.
bool findRoot(const dosfs::FileSystem& fs, const QByteArray& given, QString& root,
              QString& message) {
    QByteArray folder = given;
    if (folder.isEmpty()) {
        char* cwd = getcwd(nullptr, 0);
        folder = cwd ? QByteArray(cwd) : QByteArray(".");
        std::free(cwd);
    }
    const auto refuse = [&](const QString& cause) {
        message = QStringLiteral("cannot list '%1': %2").arg(QString::fromLocal8Bit(folder), cause);
        return false;
    };
    const dosfs::DriveTable& drives = fs.drives();
    dosfs::Resolved r;
    if (isDosPath(folder)) {
        const QChar letter = QChar(folder[0]).toUpper();
        if (!drives.contains(letter))
            return refuse(QStringLiteral("there is no drive %1: (the drives are %2); map one "
                                         "with --drive %1:=/folder")
                              .arg(letter)
                              .arg(driveList(drives)));
        r = fs.resolve(QString::fromUtf8(folder));
        if (r.error == dosfs::kDeviceUnavailable)
            return refuse(QStringLiteral("drive %1: is not available: its folder '%2' is missing")
                              .arg(letter)
                              .arg(QString::fromLocal8Bit(drives.hostFolder(letter))));
    } else {
        // The host's own answer first: whether the folder is there at all.
        struct stat st {};
        if (::stat(folder.constData(), &st) != 0)
            return refuse(folderCause(dosfs::errorFromErrno(errno)));
        if (!S_ISDIR(st.st_mode)) return refuse(QStringLiteral("it is not a folder"));
        r = fs.fromHostPath(folder);
        if (r.error == dosfs::kPathNotFound) {
            char real[PATH_MAX];
            const QString host =
                QString::fromLocal8Bit(realpath(folder.constData(), real) ? real : folder);
            return refuse(QStringLiteral("it is outside every drive (%1); give it one with "
                                         "--drive, e.g. --drive %2:=%3")
                              .arg(driveList(drives))
                              .arg(freeLetter(drives))
                              .arg(host));
        }
    }
    if (r.error) return refuse(folderCause(r.error));
    if (!r.isFolder) return refuse(QStringLiteral("it is not a folder"));
    dosfs::Directory probe;
    if (const int error = dosfs::Directory::open(r.host, probe)) return refuse(folderCause(error));
    root = r.dos;
    return true;
}

// The drives of the run: those given with --drive, each of whose folders
// must be there, else the drive table's; false with a message otherwise.
bool driveTable(const cli::Options& options, dosfs::DriveTable& drives, QString& message) {
    if (options.drives.isEmpty()) {
        // What the drives file holds that names no drive is said, line by
        // line; the run goes on with the rest.
        const dosfs::DriveFile file = dosfs::readDriveFile();
        const QString path = QString::fromLocal8Bit(file.path);
        if (file.refused)
            fail(0,
                 QStringLiteral("%1: not a regular file: the default drives are used").arg(path));
        for (const dosfs::DriveTable::BadLine& bad : file.badLines) {
            QString text = QString::fromLocal8Bit(bad.text.left(80));
            if (bad.text.size() > 80) text += QStringLiteral("...");
            fail(0, QStringLiteral("%1:%2: %3, skipped: %4")
                        .arg(path)
                        .arg(bad.number)
                        .arg(bad.repeated ? QStringLiteral("a second line for its letter")
                                          : QStringLiteral("not X:=/folder"))
                        .arg(text));
        }
        drives = file.table;
        return true;
    }
    for (const QByteArray& mapping : options.drives) {
        const QByteArray folder = mapping.mid(3);
        struct stat st {};
        QString cause;
        if (::stat(folder.constData(), &st) != 0)
            cause = errno == ENOENT || errno == ENOTDIR
                        ? QStringLiteral("no such folder")
                        : QString::fromLocal8Bit(std::strerror(errno)).toLower();
        else if (!S_ISDIR(st.st_mode))
            cause = QStringLiteral("it is not a folder");
        if (!cause.isEmpty()) {
            message =
                QStringLiteral("--drive %1: cannot map '%2': %3")
                    .arg(QString::fromLocal8Bit(mapping), QString::fromLocal8Bit(folder), cause);
            return false;
        }
        drives.addMapping(mapping);
    }
    return true;
}

// What writes the rows, or keeps them to be printed.
std::unique_ptr<cli::RowWriter> rowWriter(const cli::Options& options, dosfs::FileWriter& out,
                                          forms::ListBox& kept) {
    const output::Columns columns = cli::kListingKinds[options.listing].columns;
    if (options.pdf) return std::make_unique<cli::RecordLines>(kept, columns, options.csv);
    return std::make_unique<cli::ListingRecords>(out, columns, options.csv, options.encoding);
}

// The kept lines printed as a PDF into `out`, headed by the folder listed
// and the time of the scan; an exit status.
int printPdf(const cli::Drawing& drawing, char* program, const forms::ListBox& lines,
             const QString& root, qint64 time, dosfs::FileWriter& out, const QString& target) {
    if (lines.listCount() == 0) {
        out.abandon();
        return fail(1, QStringLiteral("the listing has no lines to print: no PDF written"));
    }
    int error = drawing.pdf(program, lines, root, time, out);
    if (error)
        out.abandon();
    else
        error = out.finish();  // a failed file is never put in place
    return error ? fail(1, cli::cannotWrite(target, error)) : 0;
}

// Hands a run that draws to tolan-list-draw, found beside this program (in
// the build) or where it is installed; returns only when it
// cannot, with an exit status.
int drawElsewhere(char** argv) {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    QByteArray folder = n > 0 ? QByteArray(self, int(n)) : QByteArray(argv[0]);
    folder.truncate(folder.lastIndexOf('/') + 1);
    for (const char* where : {"tolan-list-draw", TOLAN_DRAW_FOLDER "/tolan-list-draw"}) {
        const QByteArray helper = folder + where;
        if (::access(helper.constData(), X_OK) == 0) ::execv(helper.constData(), argv);
    }
    return fail(1,
                QStringLiteral("cannot draw: tolan-list-draw is missing beside %1 (%2)")
                    .arg(QString::fromLocal8Bit(folder), QString::fromLocal8Bit(strerror(errno))));
}

int openWorkFile(const cli::Options& options, dosfs::NumberedFiles& files) {
    return options.output.isEmpty()
               ? files.attach(engine::kWorkFile, STDOUT_FILENO, options.encoding)
               : files.openHost(engine::kWorkFile, options.output, dosfs::OpenMode::Replace,
                                options.encoding);
}

// The scan the options ask for, below `root`.
void configureScan(engine::Module1& scan, const cli::Options& options, const QString& root) {
    if (options.threads > 0) scan.readers = readers::ReadAhead::Readers::fixed(options.threads);
    scan.settings.scanRoot = root;
    scan.settings.listType = options.type;
    // No text filters nothing, as "*" does.
    scan.settings.extFilter = options.ext.isEmpty() ? engine::ExtensionFilter() : options.ext;
    scan.settings.mode = options.mode;
    scan.settings.exclusions = options.exclusions;
}

// The options of the command line; the exit status when they are all there
// is to answer (help, version, a mistake), -1 to go on.
int readOptions(int argc, char** argv, cli::Options& options) {
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i) args.append(QByteArray(argv[i]));
    QString error;
    if (!cli::parseOptions(args, options, error))
        return fail(2, error + QStringLiteral("\nTry 'tolan-list --help'."));
    if (options.help) {
        std::fputs(cli::usageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", TOLAN_VERSION_LABEL);
        return 0;
    }
    if (options.pdf && options.output.isEmpty() && isatty(STDOUT_FILENO))
        return fail(2, QStringLiteral("--format pdf writes a PDF: give -o FILE.pdf, or send "
                                      "standard output to a file or a pipe"));
    return -1;
}

// The text listings stop eight levels down: say what they left out.
void reportFoldersLeftOut(qint64 count) {
    if (count <= 0) return;
    std::fprintf(stderr,
                 "tolan-list: %lld %s below the eighth level %s not listed "
                 "(--format jsonl lists every level)\n",
                 static_cast<long long>(count), count == 1 ? "folder" : "folders",
                 count == 1 ? "was" : "were");
}

// A pattern that leaves out the folder to list leaves nothing to list: said
// before anything is written.
bool refuseLeftOutRoot(const cli::Options& options, const dosfs::FileSystem& fs,
                       const QString& root) {
    const int pattern = options.exclusions.leavesRoot(fs.resolve(root).host);
    if (pattern < 0) return false;
    fail(2, cli::rootLeftOut(options.exclusions, pattern, root));
    return true;
}

// Puts the output in place when all of it was written (`error` 0).
int finishOutput(int error, dosfs::FileWriter& out, const QString& target) {
    const int finished = out.finish();  // a failed file is never put in place
    if (!error) error = finished;
    return error ? fail(1, cli::cannotWrite(target, error)) : 0;
}

// The snapshot of `root` as JSON lines: every file, however deep, for a
// snapshot must miss none; an exit status.
int writeJsonLines(const cli::Options& options, const dosfs::FileSystem& fs, const QString& root) {
    const QString target = cli::outputTarget(options);
    dosfs::FileWriter out;
    if (const int error = cli::openOutput(options, out))
        return fail(1, cli::cannotWrite(target, error));
    cli::ScanReport report(isatty(STDERR_FILENO) ? stderr : nullptr);
    const int error = engine::writeSnapshot(fs, root, out,
                                            {{},
                                             options.threads,
                                             &report,
                                             bannerMoment(),
                                             fs.drives().chooserEntries(),
                                             options.exclusions});
    report.clearProgress();
    report.reportUnreadable(stderr);
    cli::reportLeftOut(stderr, options.exclusions, report.leftOutCounts);
    return finishOutput(error, out, target);
}

// The listing of `root` the options ask for: the work file, a listing
// file's records, a PDF or a graph; an exit status. Made from `from` when
// given: the snapshot's folder as it was.
int writeListing(const cli::Options& options, const dosfs::FileSystem& fs, const QString& root,
                 char** argv, const cli::Drawing* drawing, engine::SnapshotTree* from = nullptr) {
    dosfs::NumberedFiles files(fs);
    const QString target = cli::outputTarget(options);
    // Rows instead of the work file: a listing file's records; for a PDF
    // the lines or records are kept until the scan is over.
    const bool rowsOnly = options.listing >= 0;
    cli::KeptLines kept;
    dosfs::FileWriter rowsOut;
    std::unique_ptr<cli::RowWriter> rows;
    if (rowsOnly) rows = rowWriter(options, rowsOut, kept.lines);
    // The graph alone is written after the scan; no work file goes with it.
    const bool graphOnly = !options.graph.isEmpty();
    const int outError = graphOnly                 ? dosfs::kOk
                         : rowsOnly || options.pdf ? cli::openOutput(options, rowsOut)
                                                   : openWorkFile(options, files);
    if (outError) return fail(1, cli::cannotWrite(target, outError));

    const bool drivesThen = from && !from->older();
    cli::ListHost host(
        options.width, drivesThen ? from->header().drives : fs.drives().chooserEntries(),
        from && from->header().time != dosfs::kNoTime ? from->header().time : bannerMoment(),
        isatty(STDERR_FILENO) ? stderr : nullptr);
    host.setRows(rows.get());
    if (options.pdf && !rowsOnly) host.setLines(&kept.lines);
    treemap::TreeBuilder graph;
    if (graphOnly) {
        graph.start(root);
        host.setGraph(&graph);
    }
    engine::Module1 scan(host, fs, files);
    scan.writeWorkFile = !rowsOnly && !options.pdf && !graphOnly;
    configureScan(scan, options, root);
    if (from)
        scan.ListSnapshot(*from);
    else
        scan.ScanTree();
    host.report.clearProgress();
    host.report.reportUnreadable(stderr);
    reportFoldersLeftOut(scan.foldersLeftOut);
    cli::reportLeftOut(stderr, options.exclusions, scan.leftOut);
    if (scan.ended == engine::Module1::End::Damaged) {
        rowsOut.abandon();
        return fail(1, QStringLiteral("%1: %2; the listing written stops there")
                           .arg(QString::fromLocal8Bit(options.from), from->fault()));
    }
    if (scan.workFileError) return fail(1, cli::cannotWrite(target, scan.workFileError));
    if (graphOnly) {
        const QString file = QString::fromLocal8Bit(options.graph);
        const int error = drawing->graph(argv[0], *graph.finish(false), options);
        return error ? fail(1, cli::cannotWrite(file, error)) : 0;
    }
    if (options.pdf)
        return printPdf(*drawing, argv[0], kept.lines, root, scan.scanTime, rowsOut, target);
    return rowsOnly ? finishOutput(rows->error(), rowsOut, target) : 0;
}

// The listing the options ask for made from the snapshot --from names; an
// exit status.
int listSnapshot(const cli::Options& options, const dosfs::FileSystem& fs, char** argv,
                 const cli::Drawing* drawing) {
    const QString name = QString::fromLocal8Bit(options.from);
    engine::SnapshotTree tree(options.from);
    QString message;
    struct stat st {};
    const bool seekable = ::stat(options.from.constData(), &st) == 0 && S_ISREG(st.st_mode);
    if (!tree.start(message) || (seekable && !tree.checkWhole(message)))
        return fail(1, QStringLiteral("cannot list from '%1': %2").arg(name, message));
    if (tree.older())
        fail(0, QStringLiteral("note: '%1' was written by an older Tolan: its listing takes the "
                               "file's time and this run's drives, and folders without files "
                               "are not known")
                    .arg(name));
    dosfs::sweepPending();
    return writeListing(options, fs, tree.header().folder, argv, drawing, &tree);
}

}  // namespace

int cli::run(int argc, char** argv, const Drawing* drawing) {
    cli::Options options;
    if (const int answered = readOptions(argc, argv, options); answered >= 0) return answered;
    if ((options.pdf || !options.graph.isEmpty()) && !drawing) return drawElsewhere(argv);
    // A search reads snapshots alone: no drive, no folder.
    if (!options.find.isEmpty()) {
        dosfs::sweepPending();
        return cli::runFind(options);
    }
    QString error;

    dosfs::DriveTable drives;
    if (!driveTable(options, drives, error)) return fail(2, error);
    if (!cli::readExclusions(options, error)) return fail(2, error);
    const dosfs::FileSystem fs(drives);
    QString root;
    if (!options.from.isEmpty()) return listSnapshot(options, fs, argv, drawing);
    if (!options.compare.isEmpty()) {
        // A comparison's trouble is status 2, as diff's is.
        if (!cli::namesSnapshot(options.folder) && !findRoot(fs, options.folder, root, error))
            return fail(2, error);
        if (!root.isEmpty() && refuseLeftOutRoot(options, fs, root)) return 2;
        dosfs::sweepPending();
        return cli::runComparison(options, fs, root);
    }
    if (!findRoot(fs, options.folder, root, error)) return fail(1, error);
    if (refuseLeftOutRoot(options, fs, root)) return 2;

    // What runs that were killed left half-written beside their files.
    dosfs::sweepPending();
    if (options.jsonLines) return writeJsonLines(options, fs, root);
    return writeListing(options, fs, root, argv, drawing);
}
