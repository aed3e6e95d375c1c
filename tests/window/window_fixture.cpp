#include "tests/window/window_fixture.h"

#include "platform/codepage/cp932.h"

QStringList WindowFixture::workFile() const {
    const dosfs::Resolved r = fs->resolve(form->state.workFilePath);
    QFile f(QString::fromUtf8(r.host));
    QStringList lines;
    if (!f.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.isEmpty()) lines.append(codepage::fromCp932(line.left(line.size() - 1)));
    return lines;
}
