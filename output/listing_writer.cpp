#include "output/listing_writer.h"

#include "platform/dosfs/errors.h"
#include "platform/forms/application.h"

namespace output {

using shell::Hide;

QString listingPath(const shell::Settings& settings, Columns columns) {
    // A root folder ("C:\") already ends in its separator: the message
    // names the file with one.
    const QString& dir = settings.outputDir;
    return (dir.endsWith(u'\\') ? dir : dir + u'\\') + fileStem(columns) +
           (settings.csvOutput == 0 ? QStringLiteral(".TXT") : QStringLiteral(".CSV"));
}

bool onNoDrive(const dosfs::FileSystem& fs, const QString& folder) {
    return folder.size() >= 2 && folder[1] == u':' && !fs.drives().contains(folder[0]);
}

int writeListing(const SideARows& rows, const shell::Settings& settings,
                 const dosfs::FileSystem& fs, dosfs::NumberedFiles& files, Columns columns,
                 const Report& report) {
    if (!rows.anyListed) {
        report.show(shell::kNoDataPlace, shell::kNoData, Hide::AfterSixSeconds);
        return 0;
    }
    if (onNoDrive(fs, settings.outputDir)) {
        report.show(shell::kListingState, shell::noDriveNotice(settings.outputDir),
                    Hide::AfterSixSeconds);
        return dosfs::kDeviceUnavailable;
    }
    const bool csv = settings.csvOutput != 0;
    const QString path = listingPath(settings, columns);
    auto fail = [&](int error) {
        files.abandon(dosfs::kListingFile);
        report.show(shell::kFailure, shell::kWriteFailed, Hide::AfterSixSeconds);
        return error;
    };
    // Written beside the old file and put in its place when complete, so a
    // failure part-way leaves the previous listing as it was. The program
    // names it: a link there is replaced, not written through.
    int error = files.open(dosfs::kListingFile, path, dosfs::OpenMode::ReplaceOwn);
    if (error) return fail(error);
    report.show(shell::kListingState, shell::writingNotice(path), Hide::OnEvent);
    report.paint();

    // Rows present now; a scan started while the state was painted may
    // have changed them.
    const engine::ScanTable& table = rows.table;
    const int count = table.fileCount();
    for (int i = 0; i < count && !error; ++i)
        error = files.printLine(
            dosfs::kListingFile,
            record(columns, table.pathText(i), table.sizeText(i), table.dateText(i), csv));
    if (!error) error = files.close(dosfs::kListingFile);
    if (error) return fail(error);
    report.show(shell::kListingState, shell::writtenNotice(path, csv), Hide::AfterSixSeconds);
    return 0;
}

int writeListing(shell::Form1& form, Columns columns) {
    const Report report{[&form](shell::MessagePlace place, const QString& text, Hide hide) {
                            shell::showMessage(form, place, text, hide);
                        },
                        [&form] { form.app().letEventsRun(); }};
    return writeListing({*form.state.found, form.List1.listCount() != 0}, form.state.settings,
                        form.fs, form.files, columns, report);
}

}  // namespace output
