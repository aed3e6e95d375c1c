#include "cli/find_run.h"

#include "cli/output_target.h"
#include "engine/snapshot_find.h"
#include "engine/snapshot_format.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/host_name.h"
#include "platform/dosfs/text_line.h"

namespace cli {
namespace {

constexpr int kTrouble = 2;

// A file found as one JSON object.
void appendJson(QByteArray& out, const QByteArray& snapshot, const engine::FoundFile& f) {
    out += "{\"snapshot\":";
    engine::appendJsonHostString(out, snapshot);
    out += ",\"folder\":";
    if (f.folder.isEmpty())
        out += "null";
    else
        engine::appendJsonString(out, f.folder);
    out += ",\"host_folder\":";
    if (f.hostFolder.isEmpty())
        out += "null";
    else
        engine::appendJsonHostString(out, f.hostFolder);
    out += ",\"path\":";
    engine::appendJsonHostString(out, f.path);
    out += ",\"size\":";
    out += f.size == dosfs::kNoSize ? QByteArray("null") : QByteArray::number(f.size);
    out += ",\"mtime\":";
    engine::appendJsonTime(out, f.mtime);
    out += "}\n";
}

}  // namespace

int runFind(const Options& options) {
    dosfs::FileWriter out;
    const QString target = outputTarget(options);
    if (const int error = openOutput(options, out))
        return fail(kTrouble, cannotWrite(target, error));
    engine::SnapshotFind find(options.find);
    int error = 0;
    bool found = false, trouble = false;
    QByteArray bytes;
    for (const QByteArray& snapshot : options.snapshots) {
        const QString shown = dosfs::decodeHostName(snapshot);
        const auto take = [&](const engine::FoundFile& file) {
            found = true;
            bytes.truncate(0);
            if (options.jsonLines)
                appendJson(bytes, snapshot, file);
            else
                dosfs::appendLine(bytes, engine::foundText(shown, file), options.encoding);
            if (!error) error = out.write(bytes);
        };
        QString message;
        // A snapshot that cannot be read is named; the others are searched.
        if (!find.search(snapshot, take, message)) {
            trouble = true;
            fail(
                kTrouble,
                QStringLiteral("snapshot '%1': %2").arg(QString::fromLocal8Bit(snapshot), message));
        }
    }
    const int finished = out.finish();  // a failed file is never put in place
    if (!error) error = finished;
    if (error) return fail(kTrouble, cannotWrite(target, error));
    return trouble ? kTrouble : found ? 0 : 1;
}

}  // namespace cli
