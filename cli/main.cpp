// tolan-list: the listing engine without a window, for scripts, scheduled
// jobs and benchmarks.

#include "cli/list_host.h"
#include "cli/options.h"
#include "engine/module1.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/pending_files.h"
#include "tolan/version.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include <unistd.h>

namespace {

int fail(int status, const QString& message) {
    std::fprintf(stderr, "tolan-list: %s\n", message.toLocal8Bit().constData());
    return status;
}

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

// The folder to list as a DOS path; an error message when it cannot be opened.
bool findRoot(const dosfs::FileSystem& fs, const QByteArray& given, QString& root,
              QString& message) {
    QByteArray folder = given;
    if (folder.isEmpty()) {
        char* cwd = getcwd(nullptr, 0);
        folder = cwd ? QByteArray(cwd) : QByteArray(".");
        std::free(cwd);
    }
    const dosfs::Resolved r =
        isDosPath(folder) ? fs.resolve(QString::fromUtf8(folder)) : fs.fromHostPath(folder);
    int error = r.error;
    if (!error && !r.isFolder) error = dosfs::kPathNotFound;
    if (!error) {
        dosfs::Directory probe;
        error = dosfs::Directory::open(r.host, probe);
    }
    if (error)
        message = QStringLiteral("cannot open folder '%1': %2")
                      .arg(QString::fromUtf8(folder), QString::fromLatin1(dosfs::errorText(error)));
    root = r.dos;
    return error == 0;
}

dosfs::DriveTable driveTable(const cli::Options& options) {
    dosfs::DriveTable drives = dosfs::loadDriveTable();
    if (!options.drives.isEmpty()) {
        drives.clear();
        for (const QByteArray& mapping : options.drives) drives.addMapping(mapping);
    }
    return drives;
}

QString cannotWrite(const QString& target, int error) {
    return QStringLiteral("cannot write '%1': %2")
        .arg(target, QString::fromLatin1(dosfs::errorText(error)));
}

// Where the rows go, and what writes them.
int openRows(const cli::Options& options, dosfs::FileWriter& out,
             std::unique_ptr<cli::RowWriter>& rows) {
    if (options.jsonLines)
        rows = std::make_unique<cli::JsonLines>(out);
    else
        rows = std::make_unique<cli::ListingRecords>(
            out, cli::kListingKinds[options.listing].columns, options.csv, options.encoding);
    if (!options.output.isEmpty()) return out.open(options.output);
    out.attach(STDOUT_FILENO);
    return dosfs::kOk;
}

int openWorkFile(const cli::Options& options, dosfs::NumberedFiles& files) {
    return options.output.isEmpty()
               ? files.attach(engine::kWorkFile, STDOUT_FILENO, options.encoding)
               : files.openHost(engine::kWorkFile, options.output, dosfs::OpenMode::Replace,
                                options.encoding);
}

}  // namespace

int main(int argc, char** argv) {
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i) args.append(QByteArray(argv[i]));
    cli::Options options;
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

    const dosfs::FileSystem fs(driveTable(options));
    QString root;
    if (!findRoot(fs, options.folder, root, error)) return fail(1, error);

    // What runs that were killed left half-written beside their files.
    dosfs::sweepPending();
    dosfs::NumberedFiles files(fs);
    const QString target = options.output.isEmpty() ? QStringLiteral("standard output")
                                                    : QString::fromUtf8(options.output);
    // Rows instead of the work file: a listing file's records or JSON lines.
    const bool rowsOnly = options.listing >= 0 || options.jsonLines;
    dosfs::FileWriter rowsOut;
    std::unique_ptr<cli::RowWriter> rows;
    const int outError = rowsOnly ? openRows(options, rowsOut, rows) : openWorkFile(options, files);
    if (outError) return fail(1, cannotWrite(target, outError));

    const QString ext = options.ext.isEmpty() ? QStringLiteral("*") : options.ext;
    cli::ListHost host(options.width, engine::caption(options.type), ext,
                       fs.drives().chooserEntries(), bannerMoment(),
                       isatty(STDERR_FILENO) ? stderr : nullptr);
    host.setRows(rows.get());
    engine::Module1 scan(host, fs, files);
    scan.writeWorkFile = !rowsOnly;
    if (options.threads > 0) scan.readThreads = options.threads;
    scan.settings.scanRoot = root;
    scan.settings.listType = options.type;
    scan.settings.extFilter = ext;
    scan.settings.mode = options.mode;
    scan.ScanTree();
    host.clearProgress();
    if (scan.workFileError) return fail(1, cannotWrite(target, scan.workFileError));
    if (rowsOnly) {
        int error = rows->error();
        const int finished = rowsOut.finish();  // a failed file is never put in place
        if (!error) error = finished;
        if (error) return fail(1, cannotWrite(target, error));
    }
    return 0;
}
