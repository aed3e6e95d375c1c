// Sequential input of any file: items, lines and the first item the
// save-as guard reads.

#include "tests/fuzz/fuzz_support.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/numbered_files.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray path = scratchFolder() + "/input.txt";
    static dosfs::FileSystem fs = [] {
        dosfs::DriveTable drives;
        drives.set(u'C', scratchFolder());
        return dosfs::FileSystem(drives);
    }();
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    dosfs::NumberedFiles files(fs);
    FUZZ_CHECK(files.openHost(1, path, dosfs::OpenMode::Input) == 0);
    QString item;
    size_t items = 0;
    while (files.input(1, item) == 0) FUZZ_CHECK(++items <= size + 1);
    FUZZ_CHECK(files.eof(1));
    files.close(1);

    FUZZ_CHECK(files.openHost(1, path, dosfs::OpenMode::Input) == 0);
    QString line;
    QByteArray bytes;
    size_t lines = 0;
    while (files.lineInput(1, line) == 0) FUZZ_CHECK(++lines <= size);
    files.close(1);
    FUZZ_CHECK(files.openHost(1, path, dosfs::OpenMode::Input) == 0);
    size_t rawLines = 0;
    while (files.lineInputBytes(1, bytes) == 0)
        FUZZ_CHECK(!bytes.contains('\n') && ++rawLines <= size);
    FUZZ_CHECK(rawLines == lines);
    files.closeAll();

    const int error = dosfs::firstItem(fs, QStringLiteral("C:\\input.txt"), item);
    FUZZ_CHECK(error == 0 || (size == 0 && error == dosfs::kInputPastEnd));
    return 0;
}
