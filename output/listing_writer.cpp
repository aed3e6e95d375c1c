#include "output/listing_writer.h"

#include "platform/forms/application.h"

namespace output {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

void showState(forms::TextBox& box, int height, int width, const QString& text) {
    box.setGeometry(box.left(), 1470, width, height);
    box.setText(text);
    box.setVisible(true);
}

}  // namespace

QString listingPath(const shell::Settings& settings, Columns columns) {
    return settings.outputDir + u'\\' + fileStem(columns) +
           (settings.csvOutput == 0 ? QStringLiteral(".TXT") : QStringLiteral(".CSV"));
}

int writeListing(shell::Form1& form, Columns columns) {
    forms::TextBox& status = form.Text10;
    if (form.List1.listCount() == 0) {
        form.Timer4.setTimerEnabled(true);
        showState(status, 345, 1200, kNoData);
        return 0;
    }
    const bool csv = form.state.settings.csvOutput != 0;
    const QString path = listingPath(form.state.settings, columns);
    const QString formatWord = csv ? QStringLiteral("ＣＳＶ形式") : QStringLiteral("カンマ区切り");

    auto fail = [&](int error) {
        form.files.abandon(kListingFile);
        form.Timer4.setTimerEnabled(true);
        showState(status, 510, 2190, kWriteFailed);
        return error;
    };
    // Written beside the old file and put in its place when complete, so a
    // failure part-way leaves the previous listing as it was.
    int error = form.files.open(kListingFile, path, dosfs::OpenMode::Replace);
    if (error) return fail(error);
    showState(status, 735, 4110, path + kCrLf + kWritingSuffix);
    form.app().letEventsRun();

    // Rows present now; a scan started while the state was painted may
    // have changed them.
    const forms::ListBox& names = *form.List2[0];
    const forms::ListBox& sizes = *form.List2[1];
    const forms::ListBox& dates = *form.List2[2];
    const int rows = names.listCount();
    for (int i = 0; i < rows && !error; ++i)
        error = form.files.printLine(
            kListingFile, record(columns, names.list(i), sizes.list(i), dates.list(i), csv));
    if (!error) error = form.files.close(kListingFile);
    if (error) return fail(error);

    showState(status, 735, 4110,
              path + kCrLf + QStringLiteral("に書込み終了しました") + kCrLf +
                  QStringLiteral("このファイルは") + formatWord + QStringLiteral("のデータです"));
    form.Timer4.setTimerEnabled(true);
    return 0;
}

}  // namespace output
