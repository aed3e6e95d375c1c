#include "app/parts.h"

#include "platform/dosfs/away_reads.h"

#include "engine/snapshot_scan.h"
#include "platform/forms/application.h"
#include "shell/messages.h"

#include <ctime>

namespace app {
namespace {

// The window's snapshots are made by the scans tolan-list makes them with.
// They leave out what the window's scans leave out.
output::SnapshotScans snapshotScans(const shell::MainState& state) {
    output::SnapshotScans scans;
    scans.write = [&state](const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                           output::SnapshotScans::Events events) {
        engine::SnapshotRun run;
        run.events = std::move(events);
        run.time = static_cast<qint64>(std::time(nullptr));
        run.drives = fs.drives().chooserEntries();
        run.exclusions = state.exclusions;
        return engine::writeSnapshot(fs, root, out, run);
    };
    scans.compare = [&state](engine::Comparison& comparison, const dosfs::FileSystem& fs,
                             const QString& root, output::SnapshotScans::Events events) {
        engine::SnapshotRun run;
        run.events = std::move(events);
        run.exclusions = state.exclusions;
        engine::scanInto(comparison, fs, root, run);
    };
    return scans;
}

}  // namespace

Parts::Parts(forms::Application& application, dosfs::DriveTable drives)
    : watch(kAnswerMs, [&application] { application.letPaintRun(); }),
      fs(std::move(drives), &watch),
      form(application, fs),
      behaviour(form),
      output(form, behaviour.scan, snapshotScans(form.state)) {
    // A scan's own reads of a mount that stopped answering wait as the
    // scan's poll points do, so that a stop is seen.
    dosfs::away::whileWaiting([this, &application] {
        if (form.state.run == shell::RunState::Running)
            application.letEventsRun();
        else
            application.letPaintRun();
        return !behaviour.scan.settings.abortRequested;
    });
    output.form6.openSnapshot = [this](const QByteArray& path, QString& message,
                                       const QByteArray& select) {
        return behaviour.showSnapshot(path, message, select);
    };
}

Parts::~Parts() {
    dosfs::away::whileWaiting({});
}

bool openStartFolder(shell::Form1& form, const QByteArray& hostPath) {
    const dosfs::Resolved r = form.fs.fromHostPath(hostPath);
    if (r.error == 0 && r.isFolder && form.Drive1.setDrive(r.dos.left(2)) == 0 &&
        form.Dir1.setPath(r.dos) == 0)
        return true;
    shell::showMessage(form, shell::kOneLine, shell::kNoFolder);
    return false;
}

}  // namespace app
