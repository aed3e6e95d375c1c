#include "cli/compare_run.h"

#include "cli/output_target.h"
#include "cli/row_writers.h"
#include "cli/snapshots.h"
#include "engine/comparison_text.h"
#include "platform/codepage/cp932.h"
#include "platform/dosfs/file_writer.h"

#include <cstdio>
#include <vector>

#include <sys/stat.h>

namespace cli {
namespace {

constexpr int kTrouble = 2;

int trouble(const QString& message) {
    std::fprintf(stderr, "tolan-list: %s\n", message.toLocal8Bit().constData());
    return kTrouble;
}

// One JSON object a change.
class ChangeRecords : public engine::ChangeSink {
  public:
    explicit ChangeRecords(dosfs::FileWriter& out) : out_(out) {}
    void change(engine::Change kind, const engine::SnapshotFile* before,
                const engine::SnapshotFile* after, const engine::ListingPlace&) override {
        static const char* const kNames[] = {"added", "removed", "changed", "unreadable"};
        line_ = "{\"change\":\"";
        line_ += kNames[static_cast<int>(kind)];
        line_ += "\",\"path\":";
        appendJsonHostString(line_, (after ? after : before)->path);
        line_ += ",\"old_size\":";
        appendSize(before);
        line_ += ",\"new_size\":";
        appendSize(after);
        line_ += ",\"old_mtime\":";
        appendJsonTime(line_, before ? before->mtime : dosfs::kNoTime);
        line_ += ",\"new_mtime\":";
        appendJsonTime(line_, after ? after->mtime : dosfs::kNoTime);
        line_ += "}\n";
        if (!error) error = out_.write(line_);
    }
    void folderEnd(const engine::ListingPlace&, const engine::FolderSums&) override {}
    void end(const engine::ChangeCounts&) override {}
    int error = 0;

  private:
    void appendSize(const engine::SnapshotFile* file) {
        if (file && file->size != dosfs::kNoSize)
            line_ += QByteArray::number(file->size);
        else
            line_ += "null";
    }
    dosfs::FileWriter& out_;
    QByteArray line_;
};

// What stops a snapshot from being compared: the message, or empty.
QString snapshotTrouble(const QByteArray& path, const QString& message) {
    return QStringLiteral("snapshot '%1': %2").arg(QString::fromLocal8Bit(path), message);
}

// A snapshot made ready to be compared: read through once to check it
// (`whole`), or opened to be checked as it is compared. False with the
// message printed.
bool ready(engine::SnapshotReader& reader, const QByteArray& path, bool whole) {
    QString message;
    if (!(whole ? reader.check(message) : reader.start(message))) {
        trouble(snapshotTrouble(path, message));
        return false;
    }
    if (const qint64 line = reader.firstLineOutOfOrder())
        std::fprintf(stderr,
                     "tolan-list: note: snapshot '%s' is not in listing order (line %lld); it "
                     "was sorted in memory to be compared\n",
                     path.constData(), static_cast<long long>(line));
    return true;
}

// One comparison written to `out`; its counts.
engine::ChangeCounts compareInto(dosfs::FileWriter& out, int& error, const Options& options,
                                 engine::SnapshotReader& before, engine::SnapshotReader& after,
                                 const dosfs::FileSystem& fs, const QString& root) {
    QByteArray bytes;
    engine::ComparisonLines lines([&](const QString& line) {
        bytes.truncate(0);
        if (options.encoding == dosfs::Encoding::Utf8)
            bytes += line.toUtf8();
        else
            codepage::appendCp932(bytes, line);
        bytes += "\r\n";
        if (!error) error = out.write(bytes);
    });
    ChangeRecords records(out);
    engine::ChangeSink& sink =
        options.jsonLines ? static_cast<engine::ChangeSink&>(records) : lines;
    engine::Comparison comparison(before, sink);
    if (root.isEmpty()) {
        engine::SnapshotFile file;
        while (after.next(file)) comparison.add(file);
    } else {
        scanInto(comparison, fs, root, options.threads, isatty(STDERR_FILENO) ? stderr : nullptr,
                 {}, stderr);
    }
    comparison.finish();
    if (!error) error = records.error;
    return comparison.counts();
}

}  // namespace

bool namesSnapshot(const QByteArray& given) {
    struct stat st {};
    return !given.isEmpty() && ::stat(given.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

int runComparison(const Options& options, const dosfs::FileSystem& fs, const QString& root) {
    dosfs::FileWriter out;
    const QString target = outputTarget(options);
    if (const int error = openOutput(options, out)) return trouble(cannotWrite(target, error));

    engine::SnapshotReader before(options.compare), after(options.folder);
    struct Side {
        engine::SnapshotReader& reader;
        const QByteArray& path;
    };
    std::vector<Side> sides{{before, options.compare}};
    if (root.isEmpty()) sides.push_back({after, options.folder});
    // Lines that went out cannot be taken back: unless the output is put in
    // place only when complete, the snapshots are checked whole before
    // anything is compared; otherwise as they are compared, in one pass.
    bool whole = !out.replacing();
    for (;;) {
        for (const Side& side : sides)
            if (!ready(side.reader, side.path, whole)) return out.abandon(), kTrouble;
        int error = 0;
        const engine::ChangeCounts counts =
            compareInto(out, error, options, before, after, fs, root);
        bool outOfOrder = false;
        for (const Side& side : sides) {
            const engine::SnapshotReader& reader = side.reader;
            if (!reader.fault().isEmpty())
                return out.abandon(), trouble(snapshotTrouble(side.path, reader.fault()));
            if (!reader.readError().isEmpty())
                return out.abandon(),
                       trouble(QStringLiteral("a snapshot changed while it was compared: %1")
                                   .arg(reader.readError()));
            outOfOrder = outOfOrder || (!whole && reader.firstLineOutOfOrder());
        }
        if (outOfOrder) {  // begin again with the snapshot sorted
            out.abandon();
            if (const int reopened = openOutput(options, out))
                return trouble(cannotWrite(target, reopened));
            whole = true;
            continue;
        }
        const int finished = out.finish();
        if (!error) error = finished;
        if (error) return trouble(cannotWrite(target, error));
        // What is below a folder that could not be read now is not known.
        if (counts.unreadableFolders)
            return trouble(QStringLiteral("the comparison is incomplete: %1 files of the snapshot "
                                          "are below folders that could not be read (?)")
                               .arg(counts.unreadable));
        return counts.any() ? 1 : 0;
    }
}

}  // namespace cli
