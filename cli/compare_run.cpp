#include "cli/compare_run.h"

#include "cli/held_output.h"
#include "cli/left_out.h"
#include "cli/output_target.h"
#include "cli/scan_report.h"
#include "engine/comparison_text.h"
#include "engine/snapshot_format.h"
#include "engine/snapshot_scan.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/text_line.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

constexpr int kTrouble = 2;

// One JSON object a change.
class ChangeRecords : public engine::ChangeSink {
  public:
    explicit ChangeRecords(HeldOutput& out) : out_(out) {}
    void change(engine::Change kind, const engine::SnapshotFile* before,
                const engine::SnapshotFile* after, const engine::ListingPlace&) override {
        static const char* const kNames[] = {"added", "removed", "changed", "unreadable"};
        line_ = "{\"change\":\"";
        line_ += kNames[static_cast<int>(kind)];
        line_ += "\",\"path\":";
        engine::appendJsonHostString(line_, (after ? after : before)->path);
        line_ += ",\"old_size\":";
        appendSize(before);
        line_ += ",\"new_size\":";
        appendSize(after);
        line_ += ",\"old_mtime\":";
        engine::appendJsonTime(line_, before ? before->mtime : dosfs::kNoTime);
        line_ += ",\"new_mtime\":";
        engine::appendJsonTime(line_, after ? after->mtime : dosfs::kNoTime);
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
    HeldOutput& out_;
    QByteArray line_;
};

// What stops a snapshot from being compared: the message, or empty.
QString snapshotTrouble(const QByteArray& path, const QString& message) {
    return QStringLiteral("snapshot '%1': %2").arg(QString::fromLocal8Bit(path), message);
}

// A side's patterns as the warning names them: "none", or each quoted.
QByteArray patternList(const QList<QByteArray>& patterns) {
    if (patterns.isEmpty()) return "none";
    QByteArray list;
    for (const QByteArray& pattern : patterns)
        list += (list.isEmpty() ? "\"" : ", \"") + pattern + '"';
    return list;
}

// Sides made with different patterns differ by what only one left out,
// which shows as added or removed: the comparison says so first.
void warnOtherPatterns(const QList<QByteArray>& before, const QByteArray& beforeName,
                       const QList<QByteArray>& after, const QByteArray& afterName) {
    if (engine::Exclusions::samePatterns(before, after)) return;
    std::fprintf(stderr,
                 "tolan-list: warning: the two sides were made with different exclusion "
                 "patterns: %s with %s, %s with %s; what only one side left out shows as added "
                 "or removed\n",
                 beforeName.constData(), patternList(before).constData(), afterName.constData(),
                 patternList(after).constData());
}

// One comparison written to `out`; its counts.
engine::ChangeCounts compareInto(HeldOutput& out, int& error, const Options& options,
                                 engine::SnapshotReader& before, engine::SnapshotReader& after,
                                 const dosfs::FileSystem& fs, const QString& root) {
    QByteArray bytes;
    engine::ComparisonLines lines([&](const QString& line) {
        bytes.truncate(0);
        dosfs::appendLine(bytes, line, options.encoding);
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
        ScanReport report(isatty(STDERR_FILENO) ? stderr : nullptr);
        engine::SnapshotRun run;
        run.threads = options.threads;
        run.watch = &report;
        run.exclusions = options.exclusions;
        engine::scanInto(comparison, fs, root, run);
        report.clearProgress();
        report.reportUnreadable(stderr);
        reportLeftOut(stderr, options.exclusions, report.leftOutCounts);
    }
    comparison.finish();
    if (!error) error = records.error;
    return comparison.counts();
}

// A comparison read whole: what was written put in place unless writing
// it failed (`error`); the exit status.
int finishComparison(HeldOutput& held, dosfs::FileWriter& out, int error,
                     const engine::ChangeCounts& counts, const QString& target) {
    if (!error) error = held.release();
    const int finished = out.finish();
    if (!error) error = finished;
    if (error) {
        const QByteArray& spool = held.failedAt();
        return fail(kTrouble,
                    cannotWrite(spool.isEmpty() ? target : QString::fromLocal8Bit(spool), error));
    }
    // What is below a folder that could not be read now is not known.
    if (counts.unreadableFolders)
        return fail(kTrouble, QStringLiteral("the comparison is incomplete: %1 files of the "
                                             "snapshot are below folders that could not be read "
                                             "(?)")
                                  .arg(counts.unreadable));
    return counts.any() ? 1 : 0;
}

}  // namespace

bool namesSnapshot(const QByteArray& given) {
    struct stat st {};
    // A pipe or a device is read as a snapshot too: `<(cat new.jsonl)`.
    return !given.isEmpty() && ::stat(given.constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

int runComparison(const Options& options, const dosfs::FileSystem& fs, const QString& root) {
    dosfs::FileWriter out;
    const QString target = outputTarget(options);
    if (const int error = openOutput(options, out))
        return fail(kTrouble, cannotWrite(target, error));
    HeldOutput held(out);

    engine::SnapshotReader before(options.compare), after(options.folder);
    std::vector<engine::SnapshotReader*> snapshots{&before};
    std::vector<QByteArray> paths{options.compare};
    if (root.isEmpty()) {
        snapshots.push_back(&after);
        paths.push_back(options.folder);
    }
    for (size_t i = 0; i < snapshots.size(); ++i) {
        QString message;
        if (!snapshots[i]->start(message))
            return out.abandon(), fail(kTrouble, snapshotTrouble(paths[i], message));
    }
    if (root.isEmpty())
        warnOtherPatterns(before.header().exclude, "snapshot '" + options.compare + '\'',
                          after.header().exclude, "snapshot '" + options.folder + '\'');
    else
        warnOtherPatterns(before.header().exclude, "snapshot '" + options.compare + '\'',
                          options.exclusions.patterns(), "the folder scanned now");
    // Each snapshot is read once, its lines checked as they are compared;
    // what was written goes only once every one was read whole. One out of
    // listing order is read again, sorted, and the comparison made again.
    for (;;) {
        int error = 0;
        const engine::ChangeCounts counts =
            compareInto(held, error, options, before, after, fs, root);
        if (std::all_of(snapshots.begin(), snapshots.end(),
                        [](const engine::SnapshotReader* s) { return s->whole(); })) {
            return finishComparison(held, out, error, counts, target);
        }
        held.drop();
        if (out.replacing()) {
            out.abandon();
            if (const int reopened = openOutput(options, out))
                return fail(kTrouble, cannotWrite(target, reopened));
        }
        std::vector<qint64> outOfOrder;
        for (const engine::SnapshotReader* snapshot : snapshots)
            outOfOrder.push_back(snapshot->firstLineOutOfOrder());
        QString message;
        if (const int at = engine::readAgain(snapshots, message); at >= 0)
            return out.abandon(), fail(kTrouble, snapshotTrouble(paths[at], message));
        for (size_t i = 0; i < snapshots.size(); ++i)
            if (outOfOrder[i])
                std::fprintf(stderr,
                             "tolan-list: note: snapshot '%s' is not in listing order (line "
                             "%lld); it was sorted in memory to be compared\n",
                             paths[i].constData(), static_cast<long long>(outOfOrder[i]));
    }
}

}  // namespace cli
