#include "cli/compare_run.h"

#include "cli/row_writers.h"
#include "cli/snapshots.h"
#include "engine/comparison_text.h"
#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

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
        static const char* const kNames[] = {"added", "removed", "changed"};
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

// A snapshot read through once; false with the message printed.
bool checked(engine::SnapshotReader& reader, const QByteArray& path) {
    QString message;
    if (!reader.check(message)) {
        trouble(QStringLiteral("snapshot '%1': %2").arg(QString::fromLocal8Bit(path), message));
        return false;
    }
    if (const qint64 line = reader.firstLineOutOfOrder())
        std::fprintf(stderr,
                     "tolan-list: note: snapshot '%s' is not in listing order (line %lld); it "
                     "was sorted in memory to be compared\n",
                     path.constData(), static_cast<long long>(line));
    return true;
}

}  // namespace

bool namesSnapshot(const QByteArray& given) {
    struct stat st {};
    return !given.isEmpty() && ::stat(given.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

int runComparison(const Options& options, const dosfs::FileSystem& fs, const QString& root) {
    engine::SnapshotReader before(options.compare);
    if (!checked(before, options.compare)) return kTrouble;
    engine::SnapshotReader after(options.folder);
    if (root.isEmpty() && !checked(after, options.folder)) return kTrouble;

    dosfs::FileWriter out;
    const QString target = options.output.isEmpty()
                               ? QStringLiteral("standard output")
                               : QStringLiteral("'%1'").arg(QString::fromLocal8Bit(options.output));
    int error =
        options.output.isEmpty() ? (out.attach(STDOUT_FILENO), 0) : out.open(options.output);
    if (error)
        return trouble(QStringLiteral("cannot write %1: %2")
                           .arg(target, QString::fromLatin1(dosfs::errorText(error))));

    int lineError = 0;
    QByteArray bytes;
    engine::ComparisonLines lines([&](const QString& line) {
        bytes.truncate(0);
        if (options.encoding == dosfs::Encoding::Utf8)
            bytes += line.toUtf8();
        else
            codepage::appendCp932(bytes, line);
        bytes += "\r\n";
        if (!lineError) lineError = out.write(bytes);
    });
    ChangeRecords records(out);
    engine::ChangeSink& sink =
        options.jsonLines ? static_cast<engine::ChangeSink&>(records) : lines;
    engine::Comparison comparison(before, sink);
    if (root.isEmpty()) {
        engine::SnapshotFile file;
        while (after.next(file)) comparison.add(file);
    } else {
        scanInto(comparison, fs, root, options.threads, isatty(STDERR_FILENO) ? stderr : nullptr);
    }
    comparison.finish();
    for (const auto* reader : {&before, &after})
        if (!reader->readError().isEmpty()) {
            out.abandon();
            return trouble(QStringLiteral("a snapshot changed while it was compared: %1")
                               .arg(reader->readError()));
        }
    error = lineError ? lineError : records.error;
    const int finished = out.finish();
    if (!error) error = finished;
    if (error)
        return trouble(QStringLiteral("cannot write %1: %2")
                           .arg(target, QString::fromLatin1(dosfs::errorText(error))));
    return comparison.counts().any() ? 1 : 0;
}

}  // namespace cli
