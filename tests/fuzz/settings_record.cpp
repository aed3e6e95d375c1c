// The settings record as a user may leave it: read, range-checked and
// applied to the main window.

#include "tests/fuzz/fuzz_support.h"

#include "platform/dosfs/file_system.h"
#include "shell/form1.h"
#include "shell/settings.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scratchFolder();
    static QuietApplication app;
    static dosfs::FileSystem fs = [] {
        dosfs::DriveTable drives;
        drives.set(u'C', scratchFolder());
        return dosfs::FileSystem(drives);
    }();
    static shell::Form1 form(app, fs);
    QFile file(QString::fromUtf8(shell::settingsPath()));
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    shell::Settings s;
    // A record that cannot be read is set aside: the next input finds no
    // earlier one there.
    const QByteArray aside = shell::LoadSettings(s, QStringLiteral("C:"));
    if (!aside.isEmpty()) QFile::remove(QString::fromUtf8(aside));
    shell::ApplySettings(s, form);
    FUZZ_CHECK(form.width() >= 0 && form.height() >= 0);
    shell::leadingNumber(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
