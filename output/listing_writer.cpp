#include "output/listing_writer.h"
#include "platform/forms/shown_text.h"

#include "platform/dosfs/errors.h"
#include "platform/forms/application.h"
#include "shell/messages.h"

namespace output {
namespace {

using shell::Hide;
using shell::showMessage;

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

QString listingPath(const shell::Settings& settings, Columns columns) {
    return settings.outputDir + u'\\' + fileStem(columns) +
           (settings.csvOutput == 0 ? QStringLiteral(".TXT") : QStringLiteral(".CSV"));
}

bool onNoDrive(const dosfs::FileSystem& fs, const QString& folder) {
    return folder.size() >= 2 && folder[1] == u':' && !fs.drives().contains(folder[0]);
}

int writeListing(shell::Form1& form, Columns columns) {
    if (form.List1.listCount() == 0) {
        showMessage(form, shell::kNoDataPlace, shell::kNoData);
        return 0;
    }
    const QString& folder = form.state.settings.outputDir;
    if (onNoDrive(form.fs, folder)) {
        showMessage(form, shell::kListingState,
                    folder + forms::shown(shell::kNoDriveSuffix) + kCrLf +
                        forms::shown(shell::kSetOutputDir));
        return dosfs::kDeviceUnavailable;
    }
    const bool csv = form.state.settings.csvOutput != 0;
    const QString path = listingPath(form.state.settings, columns);
    const QString formatWord = csv ? QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ＣＳＶ形式"))
                                   : QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "カンマ区切り"));

    auto fail = [&](int error) {
        form.files.abandon(dosfs::kListingFile);
        showMessage(form, shell::kFailure, shell::kWriteFailed);
        return error;
    };
    // Written beside the old file and put in its place when complete, so a
    // failure part-way leaves the previous listing as it was.
    int error = form.files.open(dosfs::kListingFile, path, dosfs::OpenMode::Replace);
    if (error) return fail(error);
    showMessage(form, shell::kListingState, path + kCrLf + forms::shown(shell::kWritingSuffix),
                Hide::OnEvent);
    form.app().letEventsRun();

    // Rows present now; a scan started while the state was painted may
    // have changed them.
    const forms::ListBox& names = *form.List2[0];
    const forms::ListBox& sizes = *form.List2[1];
    const forms::ListBox& dates = *form.List2[2];
    const int rows = names.listCount();
    for (int i = 0; i < rows && !error; ++i)
        error = form.files.printLine(
            dosfs::kListingFile, record(columns, names.list(i), sizes.list(i), dates.list(i), csv));
    if (!error) error = form.files.close(dosfs::kListingFile);
    if (error) return fail(error);

    showMessage(
        form, shell::kListingState,
        path + kCrLf +
            forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "に書込み終了しました"))) +
            kCrLf + forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "このファイルは"))) +
            forms::shown(formatWord) +
            forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "のデータです"))));
    return 0;
}

}  // namespace output
