#include "tests/engine/scan_fixture.h"

#include "platform/codepage/cp932.h"

#include <QFile>

#include <gtest/gtest.h>

ScanFixture::ScanFixture(const TempTree& tree) : workFile_(tree.root() + "/../DIR.TXT") {
    dosfs::DriveTable drives;
    drives.set(u'C', tree.root());
    fs.setDrives(drives);
}

QStringList ScanFixture::run(Mode mode, const QString& root, engine::ListType listType,
                             const QString& ext) {
    EXPECT_EQ(files.openHost(engine::kWorkFile, workFile_, dosfs::OpenMode::Replace), 0);
    scan.settings.scanRoot = root;
    scan.settings.listType = listType;
    scan.settings.extFilter = ext;
    scan.settings.mode = mode;
    scan.settings.abortRequested = false;
    scan.ScanTree();
    // After a stop the work file is still open: the window closes it.
    files.close(engine::kWorkFile);
    files.closeAll();
    QFile f(QString::fromUtf8(workFile_));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    workFileBytes = f.readAll();
    QStringList lines;
    for (const QByteArray& line : workFileBytes.split('\n')) {
        if (line.isEmpty()) continue;  // after the last CR LF
        EXPECT_TRUE(line.endsWith('\r')) << "line without CR LF";
        lines.append(codepage::fromCp932(line.left(line.size() - 1)));
    }
    return lines;
}

QString sp(int n) {
    return QString(n, u' ');
}

QString banner(int nameFieldWidth, const QString& type, const QString& ext) {
    const QString what = sp(nameFieldWidth - 22) + QStringLiteral("----<< ") + type +
                         QStringLiteral(" ／ *.") + ext + QStringLiteral(" >>----");
    return QStringLiteral("<< 12-08-2026   14:03:04 >>") + sp(17) + what.right(51);
}
